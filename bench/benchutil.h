#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Wall-clock nanoseconds per iteration of each benchmark that ran, by name.
using TBenchTimes = std::map<std::string, double>;

// Runs the registered benchmarks, prints their usual table, then one line per pair:
// "<name> / <baseline>: <ratio>", the cost of our operation against the bare one. Then
// goals, if given, prints the program's figures beside their goals from the times, each as
// "<figure>: <value> (goal <goal>)", the lines scripts/bench.sh gathers at its end.
int runBenchmarksWithRatios(int argc, char** argv,
                            const std::vector<std::pair<std::string, std::string>>& pairs,
                            const std::function<void(const TBenchTimes&)>& goals = {});
