// The two Windows functions whose names the layer's own functions take (win32backend.h):
// this file sees only windows.h.

#include <windows.h>

#include <cstdint>

namespace toolkit_win32 {

void postWindowsQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

std::uint64_t windowsTickCount() {
    return GetTickCount64();
}

} // namespace toolkit_win32
