#pragma once

#include <cstdint>

// The framework's constants, with the values the program was written against. Only those
// the program uses are here.

// Message box buttons and icons. The warning icon is the exclamation icon, as on Windows.
inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_OKCANCEL = 0x0001;
inline constexpr unsigned MB_YESNOCANCEL = 0x0003;
inline constexpr unsigned MB_YESNO = 0x0004;
inline constexpr unsigned MB_TYPEMASK = 0x000F;
inline constexpr unsigned MB_ICONSTOP = 0x0010;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONMASK = 0x00F0;
// The second button (No) is the default one; the first is otherwise.
inline constexpr unsigned MB_DEFBUTTON2 = 0x0100;

// Dialog and message box results; also the ids of the OK, Cancel and Help buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDHELP = 9;

// Show states a program is started with.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_RESTORE = 9;

// Window styles (TWindowAttr::Style and ExStyle).
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200u;

// List view styles.
inline constexpr std::uint32_t LVS_REPORT = 0x0001u;
inline constexpr std::uint32_t LVS_SINGLESEL = 0x0004u;
inline constexpr std::uint32_t LVS_SHOWSELALWAYS = 0x0008u;
inline constexpr std::uint32_t LVS_SORTASCENDING = 0x0010u;
inline constexpr std::uint32_t LVS_EDITLABELS = 0x0200u;
inline constexpr std::uint32_t LVS_NOSORTHEADER = 0x8000u;

// Image list colour depths.
inline constexpr unsigned ILC_COLOR16 = 0x0010;
inline constexpr unsigned ILC_COLOR24 = 0x0018;

// Mouse message modifier keys.
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;

// Non-client hit-test code of a mouse move over the frame.
inline constexpr unsigned HTCAPTION = 2;
inline constexpr unsigned HTBORDER = 18;

// Pop-up menus.
inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_GRAYED = 0x0001;
inline constexpr unsigned MF_SEPARATOR = 0x0800;
inline constexpr unsigned TPM_LEFTALIGN = 0x0000;
inline constexpr unsigned TPM_RIGHTBUTTON = 0x0002;

// Check box states.
inline constexpr unsigned BF_UNCHECKED = 0;
inline constexpr unsigned BF_CHECKED = 1;

// Clipboard format of plain 8-bit text.
inline constexpr unsigned CF_TEXT = 1;

// File dialog options.
inline constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x00000002u;
inline constexpr std::uint32_t OFN_HIDEREADONLY = 0x00000004u;
inline constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x00000800u;
inline constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x00001000u;
inline constexpr std::uint32_t OFN_ALLOWMULTISELECT = 0x00000200u;

// Windows virtual-key codes: every backend delivers keys as these, on every platform.
inline constexpr unsigned VK_BACK = 8;
inline constexpr unsigned VK_TAB = 9;
inline constexpr unsigned VK_RETURN = 13;
inline constexpr unsigned VK_SHIFT = 16;
inline constexpr unsigned VK_CONTROL = 17;
inline constexpr unsigned VK_MENU = 18;
inline constexpr unsigned VK_CAPITAL = 20;
inline constexpr unsigned VK_ESCAPE = 27;
inline constexpr unsigned VK_SPACE = 32;
inline constexpr unsigned VK_PRIOR = 33;
inline constexpr unsigned VK_NEXT = 34;
inline constexpr unsigned VK_END = 35;
inline constexpr unsigned VK_HOME = 36;
inline constexpr unsigned VK_LEFT = 37;
inline constexpr unsigned VK_UP = 38;
inline constexpr unsigned VK_RIGHT = 39;
inline constexpr unsigned VK_DOWN = 40;
inline constexpr unsigned VK_INSERT = 45;
inline constexpr unsigned VK_DELETE = 46;
inline constexpr unsigned VK_NUMPAD0 = 96;
inline constexpr unsigned VK_MULTIPLY = 106;
inline constexpr unsigned VK_ADD = 107;
inline constexpr unsigned VK_SUBTRACT = 109;
inline constexpr unsigned VK_DECIMAL = 110;
inline constexpr unsigned VK_DIVIDE = 111;
inline constexpr unsigned VK_F1 = 112;
inline constexpr unsigned VK_F2 = 113;
inline constexpr unsigned VK_F4 = 115;
inline constexpr unsigned VK_F10 = 121;
inline constexpr unsigned VK_APPS = 93;        // the Menu key
inline constexpr unsigned VK_OEM_1 = 186;      // ;:
inline constexpr unsigned VK_OEM_PLUS = 187;   // =+
inline constexpr unsigned VK_OEM_COMMA = 188;  // ,<
inline constexpr unsigned VK_OEM_MINUS = 189;  // -_
inline constexpr unsigned VK_OEM_PERIOD = 190; // .>
inline constexpr unsigned VK_OEM_2 = 191;      // /?
inline constexpr unsigned VK_OEM_3 = 192;      // `~
inline constexpr unsigned VK_OEM_4 = 219;      // [{
inline constexpr unsigned VK_OEM_5 = 220;      // \|
inline constexpr unsigned VK_OEM_6 = 221;      // ]}
inline constexpr unsigned VK_OEM_7 = 222;      // '"
inline constexpr unsigned VK_OEM_8 = 223;
inline constexpr unsigned VK_OEM_102 = 226; // the key beside the left Shift on European boards

// Keys at the places of the keyboard that type characters (the blank, digits, letters, the
// keypad's and the punctuation keys); what each types is the layout's to say, and reaches a
// window as a Char message after the key's own KeyDown. Every other key types nothing.
inline constexpr bool IsCharacterKey(unsigned vk) {
    return vk == VK_SPACE || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') ||
           (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) || (vk >= VK_OEM_1 && vk <= VK_OEM_3) ||
           (vk >= VK_OEM_4 && vk <= VK_OEM_8) || vk == VK_OEM_102;
}
