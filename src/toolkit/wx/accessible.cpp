#include "toolkit/wx/accessible.h"

#include "support/cp1252.h"
#include "toolkit/wx/convert.h"

#include <wx/window.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

// One part as an accessible object: a child of the window's own, its text readable.
struct TPartObject {
    AtkObject parent;
    TAccessiblePart* part; // owned, replaced as the window's parts change
    int index;
};
struct TPartObjectClass {
    AtkObjectClass parent;
};

TAccessiblePart& partOf(AtkText* text) {
    return *reinterpret_cast<TPartObject*>(text)->part;
}

std::string utf8(const std::string& bytes) {
    return ::utf8FromCp1252(bytes);
}

// A run of characters (not bytes) of the part's text, as ATK counts offsets.
gchar* textRange(AtkText* text, gint start, gint end) {
    const std::string all = utf8(partOf(text).text);
    const glong length = g_utf8_strlen(all.c_str(), -1);
    if (end < 0 || end > length)
        end = static_cast<gint>(length);
    start = std::clamp(start, 0, end);
    return g_utf8_substring(all.c_str(), start, end);
}

gint characterCount(AtkText* text) {
    return static_cast<gint>(g_utf8_strlen(utf8(partOf(text).text).c_str(), -1));
}

gint caretOffset(AtkText* text) {
    return partOf(text).caret;
}

gint selectionCount(AtkText* text) {
    const TAccessiblePart& p = partOf(text);
    return p.selectionStart < p.selectionEnd ? 1 : 0;
}

gchar* selection(AtkText* text, gint number, gint* start, gint* end) {
    const TAccessiblePart& p = partOf(text);
    if (number != 0 || p.selectionStart >= p.selectionEnd)
        return nullptr;
    *start = p.selectionStart;
    *end = p.selectionEnd;
    return textRange(text, *start, *end);
}

gunichar characterAt(AtkText* text, gint offset) {
    gchar* one = textRange(text, offset, offset + 1);
    const gunichar c = g_utf8_get_char(one);
    g_free(one);
    return c;
}

void initText(gpointer table, gpointer) {
    auto* iface = static_cast<AtkTextIface*>(table);
    iface->get_text = textRange;
    iface->get_character_count = characterCount;
    iface->get_caret_offset = caretOffset;
    iface->get_n_selections = selectionCount;
    iface->get_selection = selection;
    iface->get_character_at_offset = characterAt;
}

AtkStateSet* partStates(AtkObject* object) {
    AtkStateSet* states = atk_state_set_new();
    const TAccessiblePart& p = *reinterpret_cast<TPartObject*>(object)->part;
    for (AtkStateType s :
         {ATK_STATE_VISIBLE, ATK_STATE_SHOWING, ATK_STATE_ENABLED, ATK_STATE_SENSITIVE})
        atk_state_set_add_state(states, s);
    if (p.role == TAccessiblePart::TRole::Row) {
        atk_state_set_add_state(states, ATK_STATE_SELECTABLE);
        if (p.selected)
            atk_state_set_add_state(states, ATK_STATE_SELECTED);
    }
    if (p.role == TAccessiblePart::TRole::Field) {
        atk_state_set_add_state(states, ATK_STATE_EDITABLE);
        atk_state_set_add_state(states, ATK_STATE_SINGLE_LINE);
        if (p.selected)
            atk_state_set_add_state(states, ATK_STATE_FOCUSED);
    }
    return states;
}

gint partIndex(AtkObject* object) {
    return reinterpret_cast<TPartObject*>(object)->index;
}

void finalizePart(GObject* object) {
    delete reinterpret_cast<TPartObject*>(object)->part;
    G_OBJECT_CLASS(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)))->finalize(object);
}

void initPartClass(gpointer table, gpointer) {
    auto* klass = static_cast<TPartObjectClass*>(table);
    klass->parent.ref_state_set = partStates;
    klass->parent.get_index_in_parent = partIndex;
    G_OBJECT_CLASS(klass)->finalize = finalizePart;
}

GType partType() {
    static GType type = 0;
    if (type == 0) {
        const GTypeInfo info = {
            sizeof(TPartObjectClass), nullptr, nullptr, initPartClass, nullptr, nullptr,
            sizeof(TPartObject),      0,       nullptr, nullptr};
        type = g_type_register_static(ATK_TYPE_OBJECT, "DrovakPart", &info, GTypeFlags(0));
        const GInterfaceInfo text = {initText, nullptr, nullptr};
        g_type_add_interface_static(type, ATK_TYPE_TEXT, &text);
    }
    return type;
}

AtkRole roleOf(TAccessiblePart::TRole role) {
    switch (role) {
    case TAccessiblePart::TRole::Row:
        return ATK_ROLE_LIST_ITEM;
    case TAccessiblePart::TRole::Field:
        return ATK_ROLE_ENTRY;
    case TAccessiblePart::TRole::Button:
        return ATK_ROLE_PUSH_BUTTON;
    case TAccessiblePart::TRole::Message:
        return ATK_ROLE_STATUSBAR;
    }
    return ATK_ROLE_UNKNOWN;
}

// A window that tells of its parts, the objects standing for them and the parts they were
// last given; changes are announced once a reader has looked.
struct TExposed {
    std::function<std::vector<TAccessiblePart>()> parts;
    std::vector<AtkObject*> objects;
    std::vector<TAccessiblePart> told;
    bool read = false;
};
std::map<AtkObject*, TExposed>& exposed() {
    static std::map<AtkObject*, TExposed> windows;
    return windows;
}

// The accessible classes' own child lists, which the parts follow; a class may have none.
struct TOriginal {
    gint (*countOwn)(AtkObject*);
    AtkObject* (*childOwn)(AtkObject*, gint);

    gint count(AtkObject* object) const { return countOwn ? countOwn(object) : 0; }
    AtkObject* child(AtkObject* object, gint index) const {
        return childOwn ? childOwn(object, index) : nullptr;
    }
};
std::map<AtkObjectClass*, TOriginal>& originals() {
    static std::map<AtkObjectClass*, TOriginal> classes;
    return classes;
}

AtkObject* newPart(AtkObject* owner) {
    auto* made = static_cast<TPartObject*>(g_object_new(partType(), nullptr));
    made->part = new TAccessiblePart;
    atk_object_set_parent(&made->parent, owner);
    return &made->parent;
}

// Tells readers what changed in one part, as Orca listens for it.
void announce(AtkObject* owner, AtkObject* object, const TAccessibleChange& change) {
    using TKind = TAccessibleChange::TKind;
    const TAccessiblePart& part = *reinterpret_cast<TPartObject*>(object)->part;
    const std::string text = utf8(change.text);
    const auto length = static_cast<gint>(g_utf8_strlen(text.c_str(), -1));
    switch (change.kind) {
    case TKind::Removed:
    case TKind::Added:
        break;
    case TKind::TextRemoved:
        g_signal_emit_by_name(object, "text-remove", change.offset, length, text.c_str());
        break;
    case TKind::TextInserted:
        g_signal_emit_by_name(object, "text-insert", change.offset, length, text.c_str());
        if (part.role == TAccessiblePart::TRole::Message)
            g_signal_emit_by_name(object, "visible-data-changed");
        break;
    case TKind::Caret:
        if (change.offset >= 0)
            g_signal_emit_by_name(object, "text-caret-moved", change.offset);
        break;
    case TKind::Selection:
        g_signal_emit_by_name(object, "text-selection-changed");
        break;
    case TKind::Selected:
        if (part.role == TAccessiblePart::TRole::Field) {
            atk_object_notify_state_change(object, ATK_STATE_FOCUSED, change.offset != 0);
            if (change.offset != 0)
                g_signal_emit_by_name(owner, "active-descendant-changed", object);
        } else {
            atk_object_notify_state_change(object, ATK_STATE_SELECTED, change.offset != 0);
        }
        break;
    }
}

// Brings the part objects up to the window's parts, as they are now, and once a reader has
// looked, tells it what changed since it was last told: every path that changes what is
// shown ends in a reading here.
std::vector<AtkObject*>& refresh(AtkObject* owner, TExposed& window) {
    using TKind = TAccessibleChange::TKind;
    std::vector<TAccessiblePart> parts = window.parts();
    const std::vector<TAccessibleChange> changes = accessibleChanges(window.told, parts);
    const gint before = originals()[ATK_OBJECT_GET_CLASS(owner)].count(owner);
    const bool tell = window.read;
    for (const TAccessibleChange& change : changes) {
        const auto at = static_cast<std::size_t>(change.index);
        if (change.kind == TKind::Removed) {
            AtkObject* gone = window.objects[at];
            window.objects.erase(window.objects.begin() + change.index);
            if (tell)
                g_signal_emit_by_name(owner, "children-changed::remove", before + change.index,
                                      gone);
            g_object_unref(gone);
        } else if (change.kind == TKind::Added) {
            window.objects.insert(window.objects.begin() + change.index, newPart(owner));
        }
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto* object = reinterpret_cast<TPartObject*>(window.objects[i]);
        *object->part = parts[i];
        object->index = before + static_cast<gint>(i);
        atk_object_set_role(&object->parent, roleOf(parts[i].role));
        // A row is read by its cells; setting a name tells readers, so only a new one is set.
        const std::string name =
            utf8(parts[i].role == TAccessiblePart::TRole::Row ? parts[i].text : parts[i].name);
        const char* was = atk_object_get_name(&object->parent);
        if (was == nullptr || name != was)
            atk_object_set_name(&object->parent, name.c_str());
    }
    window.told = std::move(parts);
    window.read = true;
    for (const TAccessibleChange& change : tell ? changes : std::vector<TAccessibleChange>{}) {
        if (change.kind == TKind::Removed)
            continue;
        AtkObject* object = window.objects[static_cast<std::size_t>(change.index)];
        if (change.kind == TKind::Added)
            g_signal_emit_by_name(owner, "children-changed::add", before + change.index, object);
        announce(owner, object, change);
    }
    return window.objects;
}

gint countChildren(AtkObject* object) {
    const gint own = originals()[ATK_OBJECT_GET_CLASS(object)].count(object);
    auto found = exposed().find(object);
    if (found == exposed().end())
        return own;
    return own + static_cast<gint>(refresh(object, found->second).size());
}

AtkObject* childAt(AtkObject* object, gint index) {
    const TOriginal& original = originals()[ATK_OBJECT_GET_CLASS(object)];
    const gint own = original.count(object);
    auto found = exposed().find(object);
    if (index < own || found == exposed().end())
        return original.child(object, index);
    std::vector<AtkObject*>& objects = refresh(object, found->second);
    const auto at = static_cast<std::size_t>(index - own);
    return at < objects.size() ? ATK_OBJECT(g_object_ref(objects[at])) : nullptr;
}

AtkObject* accessibleOf(wxWindow* window) {
    GtkWidget* widget = window ? window->GetHandle() : nullptr;
    return widget ? gtk_widget_get_accessible(widget) : nullptr;
}

} // namespace

namespace toolkit_wx {

void exposeParts(wxWindow* window, std::function<std::vector<TAccessiblePart>()> parts) {
    AtkObject* accessible = accessibleOf(window);
    if (!accessible)
        return;
    // The class's child list is widened once; windows that tell of no parts keep theirs.
    AtkObjectClass* klass = ATK_OBJECT_GET_CLASS(accessible);
    if (!originals().contains(klass)) {
        originals()[klass] = {klass->get_n_children, klass->ref_child};
        klass->get_n_children = countChildren;
        klass->ref_child = childAt;
    }
    exposed()[accessible] = {std::move(parts), {}, {}, false};
}

void announceParts(wxWindow* window) {
    AtkObject* accessible = accessibleOf(window);
    auto found = exposed().find(accessible);
    if (found != exposed().end() && found->second.read)
        refresh(accessible, found->second);
}

void unexposeParts(wxWindow* window) {
    auto found = exposed().find(accessibleOf(window));
    if (found == exposed().end())
        return;
    for (AtkObject* object : found->second.objects)
        g_object_unref(object);
    exposed().erase(found);
}

} // namespace toolkit_wx

#else

namespace toolkit_wx {

void exposeParts(wxWindow*, std::function<std::vector<TAccessiblePart>()>) {}
void unexposeParts(wxWindow*) {}
void announceParts(wxWindow*) {}

} // namespace toolkit_wx

#endif
