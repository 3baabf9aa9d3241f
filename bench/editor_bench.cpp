// The cost of one key press in a field: dispatch, the edit and the removal of repeated colour
// codes that follows every key.

#include "editor/screen.h"
#include "editor/screenowner.h"

#include "benchutil.h"

#include <array>
#include <cstring>
#include <string>

namespace {

class TQuietOwner : public TScreenOwner {
  public:
    void repaintRect(const TScreenRect&) override {}
    void setDirtyFile() override {}
    void CmdUndo() override {}
    bool clipboardHasText() override { return true; }
    std::string getClipboardText() override { return "~3AB"; }
    void setClipboardText(std::string) override {}
};

struct TBuffers {
    std::array<char, 22> callsign{};
    std::array<char, 22> squadronName{};
    std::array<char, 12> squadronPassword{};
    std::array<char, 2> side{};
    std::array<char, 22> ipAddress{};
    std::array<char, 22> serverName{};

    TFieldBuffers fields() {
        return {callsign, squadronName, squadronPassword, side, ipAddress, serverName};
    }
};

// A callsign of mixed colours with the cursor in its middle; each iteration types one letter
// and erases it again, so every press edits a text of the same shape.
void BM_KeyPressTypeAndErase(benchmark::State& state) {
    TQuietOwner owner;
    TBuffers buffers;
    std::strcpy(buffers.callsign.data(), "~3AB~7CD~1EF~9GH");
    TDrovakScreen screen(owner);
    screen.attachFields(buffers.fields());
    screen.clickField(kFieldCallsign, 4);
    screen.endDrag();
    for (auto _ : state) {
        screen.setKeyDown(kKeyA);
        screen.setKeyDown(kKeyBackspace);
        benchmark::DoNotOptimize(buffers.callsign.data());
    }
    state.counters["per_key"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeyPressTypeAndErase);

// The bare byte work of the same edit: one byte moved in and out of a 22-byte buffer.
void BM_BareInsertErase(benchmark::State& state) {
    std::array<char, 22> text{};
    std::strcpy(text.data(), "~3AB~7CD~1EF~9GH");
    for (auto _ : state) {
        std::memmove(text.data() + 11, text.data() + 10, 7);
        text[10] = 'a';
        benchmark::DoNotOptimize(text.data());
        std::memmove(text.data() + 10, text.data() + 11, 7);
        benchmark::ClobberMemory();
    }
    state.counters["per_key"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BareInsertErase);

// A cursor key: dispatch and the colour-code scan alone.
void BM_KeyPressMove(benchmark::State& state) {
    TQuietOwner owner;
    TBuffers buffers;
    std::strcpy(buffers.callsign.data(), "~3AB~7CD~1EF~9GH");
    TDrovakScreen screen(owner);
    screen.attachFields(buffers.fields());
    screen.clickField(kFieldCallsign, 4);
    screen.endDrag();
    for (auto _ : state) {
        screen.setKeyDown(kKeyLeft);
        screen.setKeyDown(kKeyRight);
    }
    state.counters["per_key"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeyPressMove);

// A colour picked from the palette where a code touches the cursor: the code changes, then
// changes back.
void BM_ColourPick(benchmark::State& state) {
    TQuietOwner owner;
    TBuffers buffers;
    std::strcpy(buffers.callsign.data(), "~3AB~7CD~1EF~9GH");
    TDrovakScreen screen(owner);
    screen.attachFields(buffers.fields());
    screen.clickField(kFieldCallsign, 4); // after "~1", before E
    screen.endDrag();
    for (auto _ : state) {
        screen.pickColor('3');
        screen.pickColor('1');
    }
    state.counters["per_pick"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ColourPick);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarksWithRatios(argc, argv, {{"BM_KeyPressTypeAndErase", "BM_BareInsertErase"}});
}
