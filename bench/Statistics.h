#pragma once

// Order statistics of a set of timings.

#include <cstddef>
#include <vector>

struct Summary {
    std::size_t count = 0;
    double median = 0.0;
    // Nearest-rank 95th percentile: the smallest value that at least 95 % of
    // the samples do not exceed.
    double percentile95 = 0.0;
};

Summary Summarise(std::vector<double> values);
