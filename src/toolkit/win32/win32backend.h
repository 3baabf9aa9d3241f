#pragma once

// What the Windows backend keeps about the layer's objects, shared by its source files.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The layer's headers first: they name the framework's constants, which windows.h then
// defines again as macros of the same values. Two of the layer's functions share their names
// with Windows functions of another linkage; Windows' own are renamed here and reached
// through winapi.cpp.
#include "toolkit/toolkit.h"

#define PostQuitMessage windowsPostQuitMessage_
#define GetTickCount64 windowsGetTickCount64_
#include <windows.h>
#undef PostQuitMessage
#undef GetTickCount64
// Names of the layer's members that windows.h makes macros.
#undef MessageBox
#undef TextOut
#undef AppendMenu

namespace toolkit_win32 {

// Windows' own PostQuitMessage and GetTickCount64 (winapi.cpp).
void postWindowsQuit(int exitCode);
std::uint64_t windowsTickCount();

// Program text is UTF-8 where it is valid UTF-8 (file names), else the game's 8-bit codes,
// which are Windows-1252.
std::wstring widen(std::string_view text);
std::wstring widen1252(std::string_view text); // the game's codes alone
std::string narrowUtf8(const std::wstring& text);
std::string narrow1252(const std::wstring& text);

// Sends a message to a window's table, then up its parents (a frame's client to its frame):
// the way commands and command enabling travel. False when no table answered.
bool routeUp(TWindow& start, TMsg& msg);
bool isCommandEnabled(TWindow& start, int id);

// The window a layer window's children are created in: itself, or its frame for a client.
HWND hwndOf(const TWindow* window);
// The top-level window that owns boxes and dialogs of a layer window.
HWND ownerOf(const TWindow* window);

// Registers the window classes once; the instance of the program.
HINSTANCE instance();

// The screen scale. The program lays itself out in pixels of a 96-DPI screen (its design
// units): the layer's coordinates stay those, and the backend turns them into the window's
// pixels at its DPI (the system's before the window exists) and back.
int dpiOf(HWND hwnd);
inline int toScreen(int v, int dpi) {
    return MulDiv(v, dpi, 96);
}
inline int toDesign(int v, int dpi) {
    return MulDiv(v, 96, dpi);
}
// Lays out a layer window's children again at its DPI (after WM_DPICHANGED).
void relayoutChildren(TWindow& window);

// Turns a mouse or key message of any of the layer's windows into a TMsg for its table;
// true when it was one.
bool dispatchInput(TWindow& window, UINT message, WPARAM wParam, LPARAM lParam);

// A picture decoded for Windows: 32-bit blue, green, red, alpha (straight, not premultiplied),
// rows top to bottom.
struct TBgraImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;
};

// Decodes a picture file (PNG) with WIC, scaled to width by height when both are given;
// nothing when it cannot be read (pictures.cpp).
std::optional<TBgraImage> loadPicture(const std::string& path, int width = 0, int height = 0);
// A 32-bit top-down DIB section of the picture, its colours premultiplied for AlphaBlend or
// straight for icons; the caller deletes it.
HBITMAP makeDibSection(const TBgraImage& image, bool premultiply);
// An icon (icon true) or a cursor with its hot spot; the caller destroys it.
HICON makeIcon(const TBgraImage& image, bool icon, int hotX, int hotY);
// The program's icons and cursors by resource id, made once and kept: null when the file
// cannot be read.
HICON iconOf(int iconResId, int size);
HCURSOR cursorOf(int cursorResId);
// A layer bitmap as an opaque DIB section; the caller deletes it.
HBITMAP bitmapOf(const TDib& dib);
// The same at a screen's scale.
HBITMAP bitmapOf(const TDib& dib, int dpi);
// Draws a layer bitmap with its background (the colour of its top left pixel) left out, so
// that what is beneath shows through.
bool drawKeyed(HDC hdc, int x, int y, const TDib& dib, int dpi = 96);

// The list view of a TListWindow (listwindow.cpp): created in parent, and its notifications.
HWND createListControl(TListWindow& list, HWND parent);
bool listNotify(TWindow& parent, NMHDR& header, LRESULT& result);
// The answer to WM_GETOBJECT for a window that draws parts of its own (accessible.cpp): an
// IAccessible whose children they are; 0 for the system's own object.
LRESULT accessibleObject(TWindow& window, WPARAM wParam, LPARAM lParam);
// Tells readers what changed in the window's parts since they were last told, once one has
// asked for them; called after each message the window handled.
void announceParts(TWindow& window);
// Shows the list's columns and images again at the list's DPI.
void rescaleListControl(TListWindow& list);

} // namespace toolkit_win32

struct TWindow::Impl {
    HWND hwnd = nullptr;
    std::vector<TWindow*> children; // in construction order
    TFrameWindow* frame = nullptr;  // the frame whose client this is
    bool destroyed = false;
    std::optional<TColor> bkgnd;
    int cursorId = 0;
    std::map<uint, uint> timers; // id to timeout, kept until the window exists
    bool acceptsFiles = false;
    // The watch of WatchFolder (its own type, in folderwatch.cpp).
    std::shared_ptr<void> folderWatch;

    // A frame's menu and accelerators.
    HMENU menu = nullptr;
    HACCEL accel = nullptr;

    // A dialog control's state while its dialog is not on screen.
    std::optional<std::string> text;
    std::optional<uint> check;
    std::optional<bool> readOnly;

    // A running modal dialog.
    bool modal = false;
    int retValue = IDCANCEL;
    std::vector<HBITMAP> bitmaps; // the pictures of its controls, deleted when it closes

    // A frame's icons (resource ids, shown once it exists).
    int iconId = 0;
    int iconSmId = 0;

    // The list's image list as last shown: the layer's list and how many images it had.
    const TImageList* images = nullptr;
    int imageCount = 0;
    // The parts readers were last told of; none until one asked.
    std::optional<std::vector<TAccessiblePart>> toldParts;
};

// The picture of a TDib with its background keyed out, made the first time it is drawn so.
struct TDib::Native {
    HBITMAP keyed = nullptr;
    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native();
};

struct TDC::Impl {
    HDC hdc = nullptr;
    TRect clip;
};

struct TWaveSound::Impl {
    std::wstring path;
};
