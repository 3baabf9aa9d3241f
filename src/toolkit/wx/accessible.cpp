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

// A window that tells of its parts, and the objects standing for them.
struct TExposed {
    std::function<std::vector<TAccessiblePart>()> parts;
    std::vector<AtkObject*> objects;
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

// Brings the part objects up to the window's parts, as they are now.
std::vector<AtkObject*>& refresh(AtkObject* owner, TExposed& window) {
    const std::vector<TAccessiblePart> parts = window.parts();
    while (window.objects.size() > parts.size()) {
        g_object_unref(window.objects.back());
        window.objects.pop_back();
    }
    const gint before = originals()[ATK_OBJECT_GET_CLASS(owner)].count(owner);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i == window.objects.size()) {
            auto* made = static_cast<TPartObject*>(g_object_new(partType(), nullptr));
            made->part = new TAccessiblePart;
            atk_object_set_parent(&made->parent, owner);
            window.objects.push_back(&made->parent);
        }
        auto* object = reinterpret_cast<TPartObject*>(window.objects[i]);
        *object->part = parts[i];
        object->index = before + static_cast<gint>(i);
        atk_object_set_role(&object->parent, roleOf(parts[i].role));
        const std::string name =
            parts[i].role == TAccessiblePart::TRole::Row ? parts[i].text : parts[i].name;
        atk_object_set_name(&object->parent, utf8(name).c_str());
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
    exposed()[accessible] = {std::move(parts), {}};
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

} // namespace toolkit_wx

#endif
