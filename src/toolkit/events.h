#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

// Event tables. A window class declares one table that maps messages to its member
// handlers, the way the framework did:
//
//     DEFINE_RESPONSE_TABLE1(TDrovakWindow, TWindow)
//         EV_WM_TIMER,
//         EV_COMMAND(CM_FILESAVE, CmdSave),
//         EV_COMMAND_ENABLE(CM_FILESAVE, CeIsDirty),
//         EV_LVN_ENDLABELEDIT(ID_LIST, LvnEndLabelEdit),
//         EV_WM_KEYDOWN,
//     END_RESPONSE_TABLE;
//
// A message goes to the first entry that matches it, the derived class's table first, then
// its base's. A backend turns what happens on screen into a TMsg and calls Dispatch; tests do
// the same through the headless control API.

class TCommandEnabler;
class TEventHandler;
struct TLwNotify;
struct TLwDispInfoNotify;

// The kinds of message an event table can answer, with the handler each one calls.
enum class TMsgKind {
    Command,       // menu, pop-up menu or accelerator command:  void ()
    CommandEnable, // may the command run now?                   void (TCommandEnabler&)
    Timer,         // a window timer ticked:                     void EvTimer(uint timerId)
    LButtonDown,   // mouse, client coordinates:   void EvLButtonDown(uint modKeys, const TPoint&)
    LButtonUp,     //                              void EvLButtonUp(uint modKeys, const TPoint&)
    LButtonDblClk, //                              void EvLButtonDblClk(uint modKeys, const TPoint&)
    RButtonDown,   //                              void EvRButtonDown(uint modKeys, const TPoint&)
    MouseMove,     //                              void EvMouseMove(uint modKeys, const TPoint&)
    NcMouseMove,   // over the frame:              void EvNCMouseMove(uint hitTest, const TPoint&)
    KeyDown,       // Windows virtual-key code:    void EvKeyDown(uint key, uint repeat, uint flags)
    KeyUp,         //                              void EvKeyUp(uint key, uint repeat, uint flags)
    Char,          // a character the keyboard layout typed, after its KeyDown (WM_CHAR), as a
                   // Unicode code point:          void EvChar(uint ch, uint repeat, uint flags)
    LvnGetDispInfo,  // list control id: text of a cell, asked for on demand:
                     //                              void (TLwDispInfoNotify&)
    LvnEndLabelEdit, // list control id: in-place label edit ended:  void (TLwDispInfoNotify&)
    LvnColumnClick,  // list control id: a column header was clicked:  void (TLwNotify&)
    BnClicked,       // dialog button or check box id clicked:  void ()
    EnUpdate,        // dialog edit id: its text is about to change on screen:  void ()
    DropFiles,       // files dropped from another program:  void EvDropFiles(TDropInfo&)
    FolderChange,    // a watched folder's entries changed:  void EvFolderChange(TFolderChange&)
    StartRequest,    // the program was started again:  void EvStartRequest(TStartRequest&)
};

// Files dropped on a window that accepts them (DragAcceptFiles): their paths, and the point
// of the client area they were dropped at.
struct TDropInfo {
    std::vector<std::string> files;
    TPoint point;
};

// The modifiers held when a key was pressed travel in its messages' flags, above the 16 bits of
// Windows' own (scan code and the like): a key typed ahead of a busy program keeps the Shift it
// was typed with, whatever the keyboard holds by the time the message is handled.
inline constexpr uint kKeyFlagShift = 1u << 16;
inline constexpr uint kKeyFlagControl = 1u << 17;
inline constexpr uint kKeyFlagAlt = 1u << 18;

// Whether the command being handled came from the keyboard (an accelerator), not a menu.
bool IsKeyboardCommand();

// Entries of a watched folder (WatchFolder) that other programs, or this one, added, removed,
// renamed (both names) or rewrote. No names: anything in the folder may have changed.
struct TFolderChange {
    std::string folder;
    std::vector<std::string> names;
};

// What a later start of the program was asked to open: a file, or nothing.
struct TStartRequest {
    std::string file;
};

// One message on its way to a handler. Which fields count depends on the kind.
struct TMsg {
    TMsgKind kind = TMsgKind::Command;
    int id = 0;           // command id, or the id of the notifying control
    uint modKeys = 0;     // MK_* of a mouse message; the hit-test code of NcMouseMove
    TPoint point;         // mouse position, client coordinates (screen for NcMouseMove)
    uint key = 0;         // virtual-key code
    uint repeatCount = 1; // key repeat count
    uint keyFlags = 0;    // key flags: the scan code where a backend knows it, the kKey* modifiers
    bool fromKeyboard = false; // a command that an accelerator sent
    uint timerId = 0;          // the ticking timer
    TCommandEnabler* enabler = nullptr;
    TLwNotify* lwNotify = nullptr;
    TLwDispInfoNotify* dispInfo = nullptr;
    TDropInfo* dropInfo = nullptr;
    TFolderChange* folderChange = nullptr;
    TStartRequest* startRequest = nullptr;

    static TMsg MakeCommand(int id);
    static TMsg MakeCommandEnable(TCommandEnabler& enabler);
    static TMsg MakeTimer(uint timerId);
    static TMsg MakeMouse(TMsgKind kind, uint modKeys, const TPoint& point);
    static TMsg MakeKey(TMsgKind kind, uint key, uint repeatCount = 1, uint flags = 0);
    static TMsg MakeNotify(TMsgKind kind, int controlId);
};

// Asked for each command whenever the backend wants to know whether it may run (menus
// opening, pop-up menus). A command no table asks about is enabled.
class TCommandEnabler {
  public:
    explicit TCommandEnabler(int id) : id_(id) {}
    int GetId() const { return id_; }
    void Enable(bool enable = true) {
        enabled_ = enable;
        handled_ = true;
    }
    bool IsEnabled() const { return enabled_; }
    bool WasHandled() const { return handled_; }

  private:
    int id_;
    bool enabled_ = true;
    bool handled_ = false;
};

struct TResponseEntry {
    using Thunk = void (*)(TEventHandler&, TMsg&);
    TMsgKind kind;
    int id; // ignored by the kinds that carry no id (mouse, keys, timer)
    Thunk thunk;

    // Whether this entry answers the message. A button click is also answered by a command
    // entry of the same id, as on Windows, where both arrive as the same message.
    bool Matches(const TMsg& msg) const;

    template <auto Pmf> static TResponseEntry Command(int id);
    template <auto Pmf> static TResponseEntry CommandEnable(int id);
    template <auto Pmf> static TResponseEntry Timer();
    template <auto Pmf> static TResponseEntry Mouse(TMsgKind kind);
    template <auto Pmf> static TResponseEntry NcMouse();
    template <auto Pmf> static TResponseEntry Key(TMsgKind kind);
    template <auto Pmf> static TResponseEntry ListDispInfo(TMsgKind kind, int id);
    template <auto Pmf> static TResponseEntry ListNotify(TMsgKind kind, int id);
    template <auto Pmf> static TResponseEntry Notify(TMsgKind kind, int id);
    template <auto Pmf> static TResponseEntry DropFiles();
    template <auto Pmf> static TResponseEntry FolderChange();
    template <auto Pmf> static TResponseEntry StartRequest();
};

class TResponseTable {
  public:
    TResponseTable(const TResponseTable* base, std::initializer_list<TResponseEntry> entries)
        : base_(base), entries_(entries) {}

    // The entry that answers the message: this table's first, then the base's.
    const TResponseEntry* Find(const TMsg& msg) const;
    const TResponseTable* Base() const { return base_; }
    std::span<const TResponseEntry> Entries() const { return entries_; }

  private:
    const TResponseTable* base_;
    std::vector<TResponseEntry> entries_;
};

class TEventHandler {
  public:
    virtual ~TEventHandler() = default;

    // The class's table; DECLARE_RESPONSE_TABLE overrides it. The base table is empty.
    virtual const TResponseTable& GetResponseTable() const;

    // Calls the handler of the first matching entry; false when no table answers. The handler
    // may destroy this object (a splash ending itself): nothing here touches it afterwards.
    bool Dispatch(TMsg& msg);
    bool Answers(const TMsg& msg) const { return GetResponseTable().Find(msg) != nullptr; }
};

namespace toolkit_detail {
template <class T> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> { using Class = C; };
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...) const> { using Class = C; };
template <auto Pmf> auto& self(TEventHandler& h) {
    return static_cast<typename MemberOf<decltype(Pmf)>::Class&>(h);
}
} // namespace toolkit_detail

template <auto Pmf> TResponseEntry TResponseEntry::Command(int id) {
    return {TMsgKind::Command, id,
            [](TEventHandler& h, TMsg&) { (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h)); }};
}
template <auto Pmf> TResponseEntry TResponseEntry::CommandEnable(int id) {
    return {TMsgKind::CommandEnable, id, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.enabler);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::Timer() {
    return {TMsgKind::Timer, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), m.timerId);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::Mouse(TMsgKind kind) {
    return {kind, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), m.modKeys, m.point);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::NcMouse() {
    return Mouse<Pmf>(TMsgKind::NcMouseMove);
}
template <auto Pmf> TResponseEntry TResponseEntry::Key(TMsgKind kind) {
    return {kind, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), m.key, m.repeatCount,
                                  m.keyFlags);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::ListDispInfo(TMsgKind kind, int id) {
    return {kind, id, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.dispInfo);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::ListNotify(TMsgKind kind, int id) {
    return {kind, id, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.lwNotify);
            }};
}
template <auto Pmf> TResponseEntry TResponseEntry::Notify(TMsgKind kind, int id) {
    return {kind, id,
            [](TEventHandler& h, TMsg&) { (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h)); }};
}

template <auto Pmf> TResponseEntry TResponseEntry::DropFiles() {
    return {TMsgKind::DropFiles, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.dropInfo);
            }};
}

template <auto Pmf> TResponseEntry TResponseEntry::FolderChange() {
    return {TMsgKind::FolderChange, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.folderChange);
            }};
}

template <auto Pmf> TResponseEntry TResponseEntry::StartRequest() {
    return {TMsgKind::StartRequest, 0, [](TEventHandler& h, TMsg& m) {
                (void)std::invoke(Pmf, toolkit_detail::self<Pmf>(h), *m.startRequest);
            }};
}

// In the class: DECLARE_RESPONSE_TABLE(TMyWindow); (leaves the access at public).
#define DECLARE_RESPONSE_TABLE(cls)                                                                \
  public:                                                                                          \
    const ::TResponseTable& GetResponseTable() const override

// In the source file: DEFINE_RESPONSE_TABLE1(TMyWindow, TBase) entries... END_RESPONSE_TABLE;
#define DEFINE_RESPONSE_TABLE1(cls, base)                                                          \
    const ::TResponseTable& cls::GetResponseTable() const {                                        \
        using TMyClass [[maybe_unused]] = cls;                                                     \
        static const ::TResponseTable table(&this->base::GetResponseTable(), {
#define END_RESPONSE_TABLE                                                                         \
    });                                                                                            \
    return table;                                                                                  \
    }                                                                                              \
    static_assert(true)

#define EV_COMMAND(id, method) ::TResponseEntry::Command<&TMyClass::method>(id)
#define EV_COMMAND_ENABLE(id, method) ::TResponseEntry::CommandEnable<&TMyClass::method>(id)
#define EV_WM_TIMER ::TResponseEntry::Timer<&TMyClass::EvTimer>()
#define EV_WM_LBUTTONDOWN ::TResponseEntry::Mouse<&TMyClass::EvLButtonDown>(TMsgKind::LButtonDown)
#define EV_WM_LBUTTONUP ::TResponseEntry::Mouse<&TMyClass::EvLButtonUp>(TMsgKind::LButtonUp)
#define EV_WM_LBUTTONDBLCLK                                                                        \
    ::TResponseEntry::Mouse<&TMyClass::EvLButtonDblClk>(TMsgKind::LButtonDblClk)
#define EV_WM_RBUTTONDOWN ::TResponseEntry::Mouse<&TMyClass::EvRButtonDown>(TMsgKind::RButtonDown)
#define EV_WM_MOUSEMOVE ::TResponseEntry::Mouse<&TMyClass::EvMouseMove>(TMsgKind::MouseMove)
#define EV_WM_NCMOUSEMOVE ::TResponseEntry::NcMouse<&TMyClass::EvNCMouseMove>()
#define EV_WM_KEYDOWN ::TResponseEntry::Key<&TMyClass::EvKeyDown>(TMsgKind::KeyDown)
#define EV_WM_KEYUP ::TResponseEntry::Key<&TMyClass::EvKeyUp>(TMsgKind::KeyUp)
#define EV_WM_CHAR ::TResponseEntry::Key<&TMyClass::EvChar>(TMsgKind::Char)
#define EV_WM_DROPFILES ::TResponseEntry::DropFiles<&TMyClass::EvDropFiles>()
#define EV_WM_FOLDERCHANGE ::TResponseEntry::FolderChange<&TMyClass::EvFolderChange>()
#define EV_WM_STARTREQUEST ::TResponseEntry::StartRequest<&TMyClass::EvStartRequest>()
#define EV_LVN_GETDISPINFO(id, method)                                                             \
    ::TResponseEntry::ListDispInfo<&TMyClass::method>(TMsgKind::LvnGetDispInfo, id)
#define EV_LVN_ENDLABELEDIT(id, method)                                                            \
    ::TResponseEntry::ListDispInfo<&TMyClass::method>(TMsgKind::LvnEndLabelEdit, id)
#define EV_LVN_COLUMNCLICK(id, method)                                                             \
    ::TResponseEntry::ListNotify<&TMyClass::method>(TMsgKind::LvnColumnClick, id)
#define EV_BN_CLICKED(id, method)                                                                  \
    ::TResponseEntry::Notify<&TMyClass::method>(TMsgKind::BnClicked, id)
#define EV_EN_UPDATE(id, method) ::TResponseEntry::Notify<&TMyClass::method>(TMsgKind::EnUpdate, id)
