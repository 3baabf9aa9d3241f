#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The wx backend's translations that need no display: key codes, the clipboard's 8-bit text,
// file-dialog filters. Kept apart so that tests can check them without a window system.

namespace toolkit_wx {

// The Windows virtual-key code of a key on GTK. Letters come from wx's key code (it follows
// the keyboard layout, as Windows' letter codes do); every other key from its position, the
// X hardware keycode (evdev code + 8), which is the same with or without Shift. Punctuation
// gets the VK_OEM_* code of the key at that place on a US layout. 0 for a key with no code.
unsigned vkFromGtk(int wxKeyCode, unsigned xKeycode);

// The PC scan code of a key for the key message flags (evdev codes below 89 are the scan
// codes of set 1); 0 when there is none.
unsigned scanCodeFromX(unsigned xKeycode);

// Text from the program (file names, captions) is UTF-8; bytes that are not valid UTF-8
// are read as Windows-1252 so that nothing is lost on screen.
std::string utf8FromProgramText(std::string_view text);

// A file dialog filter of "description|pattern|" pairs as wx wants it: the pairs joined by
// '|' without the closing one. With anyCase, patterns match letters of either case, as on
// Windows, where "*.sav" also finds "PILOT.SAV": each letter becomes a bracket of both cases.
// (The save dialog keeps its patterns as given: wx appends a pattern's extension to a name
// typed without one.)
std::string wxFilterFromWindows(std::string_view filter, bool anyCase);

} // namespace toolkit_wx
