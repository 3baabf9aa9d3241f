#include "benchutil.h"

#include <cstdio>
#include <map>

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    TBenchTimes nsPerIteration;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.iterations > 0) {
                nsPerIteration[run.benchmark_name()] =
                    run.GetAdjustedRealTime() * (run.time_unit == benchmark::kNanosecond    ? 1.0
                                                 : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                 : run.time_unit == benchmark::kMillisecond ? 1e6
                                                                                            : 1e9);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int runBenchmarksWithRatios(int argc, char** argv,
                            const std::vector<std::pair<std::string, std::string>>& pairs,
                            const std::function<void(const TBenchTimes&)>& goals) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    for (const auto& [ours, bare] : pairs) {
        auto a = reporter.nsPerIteration.find(ours);
        auto b = reporter.nsPerIteration.find(bare);
        if (a != reporter.nsPerIteration.end() && b != reporter.nsPerIteration.end() &&
            b->second > 0) {
            std::printf("%s / %s: %.2f (%.0f vs %.0f per second)\n", ours.c_str(), bare.c_str(),
                        a->second / b->second, 1e9 / a->second, 1e9 / b->second);
        }
    }
    if (goals) {
        goals(reporter.nsPerIteration);
    }
    benchmark::Shutdown();
    return 0;
}
