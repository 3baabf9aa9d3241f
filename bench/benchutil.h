#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

// Runs the registered benchmarks, prints their usual table, then one line per pair:
// "<name> / <baseline>: <ratio>", the cost of our operation against the bare one.
int runBenchmarksWithRatios(int argc, char** argv,
                            const std::vector<std::pair<std::string, std::string>>& pairs);
