#include "toolkit/events.h"

TMsg TMsg::MakeCommand(int id) {
    TMsg m;
    m.kind = TMsgKind::Command;
    m.id = id;
    return m;
}

TMsg TMsg::MakeCommandEnable(TCommandEnabler& enabler) {
    TMsg m;
    m.kind = TMsgKind::CommandEnable;
    m.id = enabler.GetId();
    m.enabler = &enabler;
    return m;
}

TMsg TMsg::MakeTimer(uint timerId) {
    TMsg m;
    m.kind = TMsgKind::Timer;
    m.timerId = timerId;
    return m;
}

TMsg TMsg::MakeMouse(TMsgKind kind, uint modKeys, const TPoint& point) {
    TMsg m;
    m.kind = kind;
    m.modKeys = modKeys;
    m.point = point;
    return m;
}

TMsg TMsg::MakeKey(TMsgKind kind, uint key, uint repeatCount, uint flags) {
    TMsg m;
    m.kind = kind;
    m.key = key;
    m.repeatCount = repeatCount;
    m.keyFlags = flags;
    return m;
}

TMsg TMsg::MakeNotify(TMsgKind kind, int controlId) {
    TMsg m;
    m.kind = kind;
    m.id = controlId;
    return m;
}

bool TResponseEntry::Matches(const TMsg& msg) const {
    switch (msg.kind) {
    case TMsgKind::Timer:
    case TMsgKind::LButtonDown:
    case TMsgKind::LButtonUp:
    case TMsgKind::LButtonDblClk:
    case TMsgKind::RButtonDown:
    case TMsgKind::MouseMove:
    case TMsgKind::NcMouseMove:
    case TMsgKind::KeyDown:
    case TMsgKind::KeyUp:
    case TMsgKind::Char:
    case TMsgKind::DropFiles:
    case TMsgKind::FolderChange:
    case TMsgKind::StartRequest:
        return kind == msg.kind;
    case TMsgKind::BnClicked:
        return (kind == TMsgKind::BnClicked || kind == TMsgKind::Command) && id == msg.id;
    default:
        return kind == msg.kind && id == msg.id;
    }
}

const TResponseEntry* TResponseTable::Find(const TMsg& msg) const {
    for (const TResponseTable* table = this; table != nullptr; table = table->base_) {
        for (const TResponseEntry& entry : table->entries_) {
            if (entry.Matches(msg))
                return &entry;
        }
    }
    return nullptr;
}

const TResponseTable& TEventHandler::GetResponseTable() const {
    static const TResponseTable empty(nullptr, {});
    return empty;
}

namespace {
// The source of the command being handled; commands run inside commands (a dialog's OK that
// saves), so each dispatch restores the one it interrupted.
bool commandFromKeyboard = false;
} // namespace

bool IsKeyboardCommand() {
    return commandFromKeyboard;
}

bool TEventHandler::Dispatch(TMsg& msg) {
    const TResponseEntry* entry = GetResponseTable().Find(msg);
    if (entry == nullptr)
        return false;
    if (msg.kind != TMsgKind::Command) {
        entry->thunk(*this, msg);
        return true;
    }
    const bool outer = commandFromKeyboard;
    commandFromKeyboard = msg.fromKeyboard;
    entry->thunk(*this, msg);
    commandFromKeyboard = outer;
    return true;
}
