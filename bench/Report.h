#pragma once

// The benchmark's table: the figures, then each aim with its formula, the
// ratio and whether the figure meets it. Verdicts are information only.

#include "BenchResults.h"

void PrintReport(const BenchResults& results);
