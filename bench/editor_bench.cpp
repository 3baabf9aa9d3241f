// The cost of one key press in a field: dispatch, the edit and the removal of repeated colour
// codes that follows every key; and the cost of painting the whole editor.

#include "editor/screen.h"
#include "editor/screenowner.h"

#include "benchutil.h"
#include "toolkit/headless/headless.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The pictures, read once for every benchmark.
const TScreenArt& art() {
    static const TScreenArt pictures(DROVAK_ASSETS_DIR);
    return pictures;
}

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
    TDrovakScreen screen(owner, art());
    screen.attachFields(buffers.fields());
    screen.clickField(kFieldCallsign, 4);
    screen.endDrag();
    for (auto _ : state) {
        // A letter is its key down and the character the layout gives it.
        screen.setKeyDown(kKeyA, {});
        screen.setChar(U'a', {});
        screen.setKeyDown(kKeyBackspace, {});
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
    TDrovakScreen screen(owner, art());
    screen.attachFields(buffers.fields());
    screen.clickField(kFieldCallsign, 4);
    screen.endDrag();
    for (auto _ : state) {
        screen.setKeyDown(kKeyLeft, {});
        screen.setKeyDown(kKeyRight, {});
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
    TDrovakScreen screen(owner, art());
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

// One whole paint as the main window runs it: both backgrounds, the six fields (a current
// field with shown codes and a selection), the palette, the cursor and both hover frames.
void BM_FullPaint(benchmark::State& state) {
    TQuietOwner owner;
    TBuffers buffers;
    std::strcpy(buffers.callsign.data(), "~1RED~3LEADER");
    std::strcpy(buffers.squadronName.data(), "DROVAK ~7WING");
    std::strcpy(buffers.squadronPassword.data(), "SECRET");
    std::strcpy(buffers.ipAddress.data(), "192.168.0.10");
    std::strcpy(buffers.serverName.data(), "~4\xC5RHUS ~0\xA7 ~6ARENA");
    buffers.side[0] = 1;
    TDrovakScreen screen(owner, art());
    screen.attachFields(buffers.fields());
    screen.setInfoRect(352, 2, 0, 168);
    screen.clickField(kFieldCallsign, 2);
    screen.dragTo(5);
    screen.endDrag();
    screen.checkButtons(TPoint(95, 320));
    screen.checkColors(TPoint(120, 190));
    TRgbImage canvas(780, 520, TColor(34, 34, 34));
    std::unique_ptr<TDC> dc = headless::makeDC(canvas);
    for (auto _ : state) {
        screen.showEditor(*dc, 352, 2);
        screen.showExtendedChars(*dc, 0, 168);
        screen.showCursor(*dc);
        screen.hilightExtendedChars(*dc);
        screen.hilightColors(*dc);
        benchmark::DoNotOptimize(canvas.Data());
    }
    state.counters["per_paint"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

// The bare pixel copy of the same two backgrounds, a baseline for the paint.
void BM_BareBackgroundCopy(benchmark::State& state) {
    TRgbImage canvas(780, 520, TColor(34, 34, 34));
    std::unique_ptr<TDC> dc = headless::makeDC(canvas);
    for (auto _ : state) {
        dc->BitBlt(352, 2, art().details);
        dc->BitBlt(0, 168, art().extChar);
        benchmark::DoNotOptimize(canvas.Data());
    }
    state.counters["per_paint"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BareBackgroundCopy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarksWithRatios(
        argc, argv,
        {{"BM_KeyPressTypeAndErase", "BM_BareInsertErase"},
         {"BM_FullPaint", "BM_BareBackgroundCopy"}},
        [](const TBenchTimes& ns) {
            if (auto paint = ns.find("BM_FullPaint"); paint != ns.end()) {
                std::printf("full paint: %.3f ms (goal <= 2 ms)\n", paint->second / 1e6);
            }
        });
}
