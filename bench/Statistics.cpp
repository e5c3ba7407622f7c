#include "Statistics.h"

#include <algorithm>

Summary Summarise(std::vector<double> values)
{
    Summary summary;
    summary.count = values.size();
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    summary.median = values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
    // ceil(0.95 n) without floating point: the rank counts from 1.
    const std::size_t rank = (values.size() * 95 + 99) / 100;
    summary.percentile95 = values[rank - 1];
    return summary;
}
