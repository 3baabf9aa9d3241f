// Reading and writing one player record, against a bare read and write of the same 440
// bytes: what the record's layout and the safe replacement cost on top of the disk.
#include "benchutil.h"

#include "player/player.h"
#include "player/savformat.h"
#include "support/safefile.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct Folder {
    std::filesystem::path root;
    TDrovakSettingsXfer settings;
    Folder() {
        root = std::filesystem::temp_directory_path() / "drovak-bench";
        std::filesystem::create_directories(root);
        std::string folder = root.string() + "/";
        std::string tmpl = (root / "template.sav").string();
        std::strncpy(settings.savPath.data(), folder.c_str(), settings.savPath.size() - 1);
        std::strncpy(settings.templatePath.data(), tmpl.c_str(), settings.templatePath.size() - 1);
        std::string bytes(kSavSize, '\1');
        replaceFileContents(tmpl, {bytes.data(), bytes.size()});
        replaceFileContents((root / "pilot.sav").string(), {bytes.data(), bytes.size()});
    }
    ~Folder() { std::filesystem::remove_all(root); }
};

Folder& folder() {
    static Folder f;
    return f;
}

void BM_RecordRead(benchmark::State& state) {
    TPlayer p(folder().settings, "pilot.sav");
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.openFile());
    }
}

void BM_BareRead(benchmark::State& state) {
    std::string path = (folder().root / "pilot.sav").string();
    char buffer[kSavSize];
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer, 1, sizeof buffer, f));
        std::fclose(f);
    }
}

void BM_RecordWrite(benchmark::State& state) {
    TPlayer p(folder().settings, "out.sav");
    std::strcpy(p.callsign.data(), "~1ACE");
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.saveFile());
    }
}

// The same bytes without template merge, temporary file, flush to disk or rename.
void BM_BareWrite(benchmark::State& state) {
    std::string path = (folder().root / "bare.sav").string();
    char buffer[kSavSize] = {};
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(buffer, 1, sizeof buffer, f));
        std::fclose(f);
    }
}

// Merging the fields into the template, in memory only.
void BM_ComposeOnly(benchmark::State& state) {
    TPlayer p(folder().settings, "out.sav");
    std::string tmpl(kSavSize, '\1');
    for (auto _ : state) {
        benchmark::DoNotOptimize(composeSav(p, tmpl));
    }
}

BENCHMARK(BM_RecordRead);
BENCHMARK(BM_BareRead);
BENCHMARK(BM_RecordWrite);
BENCHMARK(BM_BareWrite);
BENCHMARK(BM_ComposeOnly);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarksWithRatios(
        argc, argv, {{"BM_RecordRead", "BM_BareRead"}, {"BM_RecordWrite", "BM_BareWrite"}});
}
