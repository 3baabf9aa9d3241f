// The Windows backend against Windows itself (Wine in the cross build): pictures, the list's
// drawing, the clipboard, the trash, sounds and what screen readers find, none of which needs
// a window on screen.

#include "common/tempdir.h"
#include "resources/resources.h"
#include "toolkit/win32/win32backend.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

using namespace toolkit_win32;

namespace {

// The resources name files relative to the program folder, as the program runs.
class Win32Backend : public ::testing::Test {
    ScopedWorkingDir cwd_{DROVAK_ASSETS_DIR};
};

// Runs the thread's messages until done() holds, for five seconds at most.
template <class Done> void pumpUntil(Done done) {
    for (int wait = 0; wait < 500 && !done(); ++wait) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
}

// A child of an accessible object, by its number.
VARIANT childNumber(LONG id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

TEST_F(Win32Backend, PicturesAreDecodedAtTheirSizeWithTheirTransparency) {
    // file, size asked for (0: the file's own), size given
    const std::tuple<const char*, int, int> cases[] = {{"icons/icon1.png", 0, 32},
                                                       {"icons/icon1.png", 16, 16},
                                                       {"icons/drovak-256.png", 48, 48},
                                                       {"cursors/cursor2.png", 0, 32}};
    for (const auto& [file, size, expected] : cases) {
        std::optional<TBgraImage> image = loadPicture(file, size, size);
        ASSERT_TRUE(image) << file;
        EXPECT_EQ(std::pair(image->width, image->height), std::pair(expected, expected)) << file;
        int clear = 0, solid = 0;
        for (std::size_t alpha = 3; alpha < image->bgra.size(); alpha += 4) {
            clear += image->bgra[alpha] == 0;
            solid += image->bgra[alpha] == 255;
        }
        EXPECT_GT(clear, 0) << file << " lost its transparent pixels";
        EXPECT_GT(solid, 0) << file << " lost its opaque pixels";
    }
    EXPECT_FALSE(loadPicture("icons/none.png"));
    EXPECT_FALSE(loadPicture("chrtable.dv")); // no picture at all
}

TEST_F(Win32Backend, IconsAndCursorsComeFromTheResourcesFiles) {
    // what, handle, an icon (not a cursor), size, a cursor's hot spot
    const std::tuple<const char*, HICON, bool, int, int, int> cases[] = {
        {"program icon", iconOf(resources::kProgramIcon, 48), true, 48, 0, 0},
        {"small program icon", iconOf(resources::kProgramIcon, 16), true, 16, 0, 0},
        {"file icon", iconOf(resources::kOddFileIcon, 32), true, 32, 0, 0},
        {"text cursor", cursorOf(resources::kTextCursor), false, 32, 15, 16},
        {"arrow cursor", cursorOf(resources::kArrowCursor), false, 32, 1, 1},
    };
    for (const auto& [what, handle, icon, size, hotX, hotY] : cases) {
        ICONINFO info{};
        ASSERT_TRUE(handle && GetIconInfo(handle, &info)) << what;
        BITMAP color{};
        GetObjectW(info.hbmColor, sizeof color, &color);
        const int x = icon ? 0 : int(info.xHotspot), y = icon ? 0 : int(info.yHotspot);
        EXPECT_EQ(std::tuple(info.fIcon != FALSE, int(color.bmWidth), int(color.bmBitsPixel), x, y),
                  std::tuple(icon, size, 32, hotX, hotY))
            << what;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(iconOf(999, 32), nullptr);

    TApplication app("dpi");
    EXPECT_TRUE(IsProcessDPIAware());
    // The frame shows the program's icon at the system's two sizes.
    TFrameWindow frame(nullptr, "frame", nullptr, false);
    EXPECT_TRUE(frame.SetIconSm(resources::kProgramIcon));
    EXPECT_TRUE(frame.SetIcon(resources::kProgramIcon));
    EXPECT_FALSE(frame.SetIcon(999));
    ASSERT_TRUE(frame.Create());
    for (auto [which, size] : {std::pair(ICON_BIG, SM_CXICON), std::pair(ICON_SMALL, SM_CXSMICON)})
        EXPECT_EQ(SendMessageW(frame.GetImpl().hwnd, WM_GETICON, which, 0),
                  LRESULT(iconOf(resources::kProgramIcon, GetSystemMetrics(size))));
}

// A popup window of ours: a list's owner whose second column shows a picture (a red block on
// a background of its own) and who hears of label edits; a watcher of a folder; and a window
// that draws a pilot's row, a field, a button and news, what is typed going into the field.
class TTestWindow : public TWindow {
  public:
    TTestWindow() : TWindow(nullptr, "test") {
        Attr.Style = WS_POPUP;
        Attr.W = 300;
        Attr.H = 200;
        TRgbImage pixels(40, 12, TColor(1, 2, 3));
        pixels.Fill(TRect(10, 2, 30, 10), TColor(250, 0, 0));
        picture = std::make_shared<TDib>(pixels);
    }
    void LvnGetDispInfo(TLwDispInfoNotify& info) {
        if (info.item.WantsPicture())
            info.item.SetPicture(picture);
    }
    void LvnEndLabelEdit(TLwDispInfoNotify& info) {
        const char* text = info.item.GetText();
        edits.push_back(
            {info.item.GetIndex(), text ? std::optional<std::string>(text) : std::nullopt});
    }
    void EvFolderChange(TFolderChange& change) {
        names.insert(names.end(), change.names.begin(), change.names.end());
    }
    std::vector<TAccessiblePart> AccessibleParts() override {
        using TRole = TAccessiblePart::TRole;
        std::vector<TAccessiblePart> parts{TAccessiblePart(TRole::Row, "ace", "ace, ACEHIGH"),
                                           TAccessiblePart(TRole::Field, "Callsign", typed),
                                           TAccessiblePart(TRole::Button, "Colour 1 red", "~1"),
                                           TAccessiblePart(TRole::Message, "News", "Saved")};
        parts[0].selected = parts[1].selected = true;
        parts[1].bounds = {10, 20, 110, 60};
        return parts;
    }
    void EvChar(uint ch, uint, uint) { typed += static_cast<char>(ch); }
    std::shared_ptr<const TDib> picture;
    std::vector<std::pair<int, std::optional<std::string>>> edits; // what each edit's end said
    std::vector<std::string> names;                                // of the folder's changes
    std::string typed = "GH";
    DECLARE_RESPONSE_TABLE(TTestWindow);
};

// clang-format off
DEFINE_RESPONSE_TABLE1(TTestWindow, TWindow)
    EV_LVN_GETDISPINFO(7, LvnGetDispInfo),
    EV_LVN_ENDLABELEDIT(7, LvnEndLabelEdit),
    EV_WM_FOLDERCHANGE,
    EV_WM_CHAR,
END_RESPONSE_TABLE;
// clang-format on

TColor colorOf(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

TEST_F(Win32Backend, TheListDrawsItsColoursPicturesAndImagesAndLeavesLabelsToTheProgram) {
    TImageList images(TSize{32, 32}, ILC_COLOR16, 2, 1);
    TTestWindow owner;
    TListWindow list(&owner, 7, 0, 0, 300, 200);
    list.Attr.Style |= LVS_EDITLABELS;
    ASSERT_TRUE(owner.Create());
    list.InsertColumn(0, TListWindColumn("Name", 100));
    TListWindColumn pictures("Picture", 120, TListWindColumn::Left, 1);
    pictures.SetPictures(true);
    list.InsertColumn(1, pictures);
    const TColor back(34, 34, 34);
    list.SetTextColor(TColor(255, 173, 0));
    list.SetTextBkColor(back);
    list.SetBkColor(back);
    images.Add(TIcon(resources::kFileIcon));
    images.Add(TIcon(resources::kOddFileIcon));
    list.SetImageList(images);
    for (const char* label : {"alpha", "bravo"}) {
        TListWindItem item(label);
        list.InsertItem(item);
    }
    list.SetSel(0, true);
    HWND hwnd = list.GetImpl().hwnd;
    EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(hwnd, LVSIL_SMALL)), 2);

    // Painted on screen as the user sees it, then read back.
    ShowWindow(owner.GetImpl().hwnd, SW_SHOWNA);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC screen = GetDC(hwnd);
    auto pixelAt = [&](int x, int y) { return colorOf(GetPixel(screen, x, y)); };

    // Each row's picture: its block, its background keyed out to the row's colour, and the
    // row's colour past the picture; a selected row is highlighted, though the list does not
    // have the keyboard.
    for (int row : {0, 1}) {
        const TColor expected = row == 0 ? colorOf(GetSysColor(COLOR_HIGHLIGHT)) : back;
        RECT cell{}, label{};
        ASSERT_TRUE(ListView_GetSubItemRect(hwnd, row, 1, LVIR_BOUNDS, &cell));
        ASSERT_TRUE(ListView_GetSubItemRect(hwnd, row, 0, LVIR_LABEL, &label));
        const int middle = (cell.top + cell.bottom) / 2;
        EXPECT_EQ(pixelAt(cell.left + 2 + 20, middle), TColor(250, 0, 0)) << row;
        for (int x : {cell.left + 2 + 3, cell.left + 60, label.right - 2})
            EXPECT_EQ(pixelAt(x, middle), expected) << row << " at " << x;
    }
    // Below the rows, the list's own background.
    EXPECT_EQ(pixelAt(150, 195), back);

    ReleaseDC(hwnd, screen);

    // A label edit typed and confirmed, then one typed and given up: the owner hears of
    // both, and the labels are the program's to change.
    const std::string label = list.GetItems().At(1).label;
    list.EditLabel(1);
    HWND edit = ListView_GetEditControl(hwnd);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"\u00C9mile");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    list.EditLabel(0);
    ASSERT_NE(ListView_GetEditControl(hwnd), nullptr);
    SetWindowTextW(ListView_GetEditControl(hwnd), L"charlie");
    SendMessageW(ListView_GetEditControl(hwnd), WM_KEYDOWN, VK_ESCAPE, 0);
    using TEdit = std::pair<int, std::optional<std::string>>;
    EXPECT_EQ(owner.edits, (std::vector<TEdit>{{1, "\xC3\x89mile"}, {0, std::nullopt}}));
    EXPECT_EQ(list.GetItems().At(1).label, label);
    EXPECT_EQ(list.GetEditIndex(), -1);
}

std::wstring unicodeOnClipboard(HWND owner) {
    if (!OpenClipboard(owner))
        return L"";
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    std::wstring text = h ? static_cast<const wchar_t*>(GlobalLock(h)) : L"";
    GlobalUnlock(h);
    CloseClipboard();
    return text;
}

void putUnicode(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::wmemcpy(static_cast<wchar_t*>(GlobalLock(memory)), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

TEST_F(Win32Backend, TheClipboardCarriesTheGamesCodesAsWindows1252) {
    TTestWindow owner; // any window of ours owns the clipboard
    ASSERT_TRUE(owner.Create());
    const std::pair<std::string, std::wstring> cases[] = {
        {"ACE HIGH", L"ACE HIGH"}, {"\xC9t\xE9 \x80\x9C\xFF", L"\u00C9t\u00E9 \u20AC\u0153\u00FF"}};
    for (const auto& [bytes, unicode] : cases) {
        {
            TClipboard clipboard(owner);
            ASSERT_TRUE(clipboard.IsOpen());
            ASSERT_TRUE(clipboard.SetText(bytes));
        }
        // Other programs read it as Unicode, whatever the system's code page.
        EXPECT_EQ(unicodeOnClipboard(owner.GetImpl().hwnd), unicode) << bytes;
        EXPECT_EQ(TClipboard(owner).GetText(), bytes);
        // Text another program copied comes back as the game's codes.
        putUnicode(owner.GetImpl().hwnd, unicode);
        EXPECT_EQ(TClipboard(owner).GetText(), bytes);
    }
}

// Files added, renamed and removed by anyone reach the window's table through its own
// thread's messages, by name. (Wine keeps a name whose case alone changed as it was.)
TEST_F(Win32Backend, AWatchedFolderTellsWhatChangedTheTrashTakesAFileAndASoundPlays) {
    TempDir dir;
    TTestWindow window;
    ASSERT_TRUE(window.WatchFolder(dir.folder()));
    dir.write("ace.sav", "x");
    dir.write("cy.sav", "x");
    MoveFileW(widen(dir.file("ace.sav")).c_str(), widen(dir.file("bob.dvw")).c_str());
    DeleteFileW(widen(dir.file("cy.sav")).c_str());
    const std::vector<std::string> expected{"ace.sav", "bob.dvw", "cy.sav"};
    auto seenAll = [&] {
        return std::all_of(expected.begin(), expected.end(), [&](const std::string& name) {
            return std::count(window.names.begin(), window.names.end(), name) > 0;
        });
    };
    pumpUntil(seenAll);
    EXPECT_TRUE(seenAll()) << ::testing::PrintToString(window.names);
    EXPECT_TRUE(window.WatchFolder(""));
    EXPECT_FALSE(window.WatchFolder(dir.file("none")));
    // The trash takes a file out of its folder, and refuses one gone already.
    dir.write("pilot.sav", "pilot");
    EXPECT_TRUE(MoveToTrash(dir.file("pilot.sav").c_str()));
    EXPECT_FALSE(dir.exists("pilot.sav"));
    EXPECT_FALSE(MoveToTrash(dir.file("pilot.sav").c_str()));
    // A project sound plays, where there is a sound device; a sound with no file does not.
    if (waveOutGetNumDevs() > 0) {
        EXPECT_TRUE(TWaveSound("button").Play());
        EXPECT_FALSE(TWaveSound("nosuch").Play());
        PlaySoundW(nullptr, nullptr, 0);
    }
}

std::vector<std::pair<DWORD, LONG>> winEvents; // of the client area: event, child

void CALLBACK recordWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD,
                             DWORD) {
    if (object == OBJID_CLIENT)
        winEvents.emplace_back(event, child);
}

TEST_F(Win32Backend, ReadersFindTheDrawnPartsAndHearOfTheirChanges) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    TTestWindow owner;
    ASSERT_TRUE(owner.Create());
    HWND hwnd = owner.GetImpl().hwnd;
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    LONG count = 0;
    EXPECT_TRUE(object->get_accChildCount(&count) == S_OK && count == 4) << count;
    auto text = [&](auto get, LONG id) {
        BSTR got = nullptr;
        if (FAILED((object->*get)(childNumber(id), &got)) || !got)
            return std::string("-");
        std::string read = narrowUtf8(got);
        SysFreeString(got);
        return read;
    };
    // role, name, value ("-" for none), state; the field is not focused: the window has no focus
    const std::tuple<LONG, const char*, const char*, LONG> cases[] = {
        {ROLE_SYSTEM_LISTITEM, "ace, ACEHIGH", "-",
         STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED},
        {ROLE_SYSTEM_TEXT, "Callsign", "GH", STATE_SYSTEM_FOCUSABLE},
        {ROLE_SYSTEM_PUSHBUTTON, "Colour 1 red", "-", 0},
        {ROLE_SYSTEM_STATICTEXT, "Saved", "-", STATE_SYSTEM_READONLY},
    };
    LONG id = 0;
    for (const auto& [role, name, value, state] : cases) {
        VARIANT gotRole{}, gotState{};
        EXPECT_EQ(object->get_accRole(childNumber(++id), &gotRole), S_OK);
        EXPECT_EQ(object->get_accState(childNumber(id), &gotState), S_OK);
        EXPECT_EQ(std::pair(gotRole.lVal, gotState.lVal), std::pair(role, state)) << id;
        EXPECT_EQ(text(&IAccessible::get_accName, id), name);
        EXPECT_EQ(text(&IAccessible::get_accValue, id), value);
    }
    // The field where it is drawn, on the screen, at the screen's scale.
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(object->accLocation(&x, &y, &w, &h, childNumber(2)), S_OK);
    const int dpi = dpiOf(hwnd);
    POINT corner{toScreen(10, dpi), toScreen(20, dpi)};
    ClientToScreen(hwnd, &corner);
    EXPECT_EQ(std::vector<LONG>({x, y, w, h}),
              std::vector<LONG>({corner.x, corner.y, toScreen(100, dpi), toScreen(40, dpi)}));

    // A key typed: the field's new value, and readers told of it.
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, nullptr, recordWinEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    SendMessageW(hwnd, WM_CHAR, 'O', 0);
    const std::pair<DWORD, LONG> told{EVENT_OBJECT_VALUECHANGE, 2};
    pumpUntil([&] { return std::count(winEvents.begin(), winEvents.end(), told) > 0; });
    EXPECT_EQ(std::count(winEvents.begin(), winEvents.end(), told), 1);
    EXPECT_EQ(text(&IAccessible::get_accValue, 2), "GHO");
    UnhookWinEvent(hook);
    object->Release();
    CoUninitialize();
}

} // namespace
