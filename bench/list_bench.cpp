// Filling the SAV list from folders of 100, 1,000 and 10,000 files, against a bare scan of
// the same folder: what the labels, the edit marks and the sorted items cost on top of
// reading the directory. And against a bare scan that also reads each file's 440 bytes, what
// a list reading every callsign at once would pay.
#include "benchutil.h"

#include "list/savlistwindow.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

class NoOwner : public TSavListOwner {
  public:
    void resetPlayerInfo(const char*) override {}
    bool leftClick(const TPoint&, uint) override { return true; }
    void endDrag() override {}
    void listPopupMenu(const TPoint&) override {}
    void processListKeyDown(uint, uint) override {}
    void EvKeyDown(uint, uint, uint) override {}
    void EvKeyUp(uint, uint, uint) override {}
    void EvChar(uint, uint, uint) override {}
};

// A SAV folder of count files: every tenth label also has a working copy.
const fs::path& savFolder(int count) {
    static std::map<int, fs::path> folders;
    auto it = folders.find(count);
    if (it != folders.end()) {
        return it->second;
    }
    fs::path root = fs::temp_directory_path() / ("drovak-bench-list-" + std::to_string(count));
    fs::remove_all(root);
    fs::create_directories(root);
    const std::string bytes(440, '\1');
    for (int i = 0; i < count; ++i) {
        char label[32];
        std::snprintf(label, sizeof label, "Pilot %05d", (i * 7919) % count);
        std::ofstream(root / (std::string(label) + ".sav"), std::ios::binary) << bytes;
        if (i % 10 == 0) {
            std::ofstream(root / (std::string(label) + ".dvw"), std::ios::binary) << bytes;
        }
    }
    return folders.emplace(count, root).first->second;
}

struct Cleanup {
    ~Cleanup() {
        for (int count : {100, 1000, 10000}) {
            std::error_code ec;
            fs::remove_all(
                fs::temp_directory_path() / ("drovak-bench-list-" + std::to_string(count)), ec);
        }
    }
} cleanup;

void BM_FillList(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::string folder = savFolder(count).string() + char(fs::path::preferred_separator);
    TWindow host(nullptr);
    NoOwner owner;
    TSavListWindow list(&host, owner, 4, 2, 24, 348, 142);
    list.InsertColumn(0, TListWindColumn("SAV File", 120));
    list.InsertColumn(1, TListWindColumn("Callsign", 133));
    list.setSavPath(folder.c_str());
    for (auto _ : state) {
        list.fillListWindow();
        benchmark::DoNotOptimize(list.GetItemCount());
    }
    state.counters["items"] = list.GetItemCount();
}

// The directory read alone: every entry's name and type, nothing kept.
void BM_BareScan(benchmark::State& state) {
    const fs::path& folder = savFolder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            files += entry.is_regular_file() && !entry.path().filename().empty();
        }
        benchmark::DoNotOptimize(files);
    }
}

// The bare scan, and one read of a record's 440 bytes from every file.
void BM_BareScanAndRead(benchmark::State& state) {
    const fs::path& folder = savFolder(static_cast<int>(state.range(0)));
    char record[440];
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                const ssize_t got = ::read(fd, record, sizeof record);
                bytes += got > 0 ? static_cast<std::size_t>(got) : 0;
                ::close(fd);
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(BM_FillList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareScan)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareScanAndRead)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarksWithRatios(
        argc, argv,
        {{"BM_FillList/100", "BM_BareScan/100"},
         {"BM_FillList/1000", "BM_BareScan/1000"},
         {"BM_FillList/10000", "BM_BareScan/10000"},
         {"BM_FillList/10000", "BM_BareScanAndRead/10000"}},
        [](const TBenchTimes& ns) {
            auto fill = ns.find("BM_FillList/10000");
            auto bare = ns.find("BM_BareScanAndRead/10000");
            if (fill != ns.end() && bare != ns.end() && bare->second > 0) {
                std::printf("list fill, 10,000 files: %.2fx a bare scan plus one 440-byte read "
                            "per file (%.1f vs %.1f ms) (goal: keep about 0.3x)\n",
                            fill->second / bare->second, fill->second / 1e6, bare->second / 1e6);
            }
        });
}
