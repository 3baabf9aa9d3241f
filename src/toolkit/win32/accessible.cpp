// The parts a window draws itself, for screen readers on Windows: an IAccessible (MSAA) for
// the window's client area whose children are the parts, and the events that tell of their
// changes.

#include "toolkit/win32/win32backend.h"

#include <oleacc.h>

#include <algorithm>

namespace toolkit_win32 {
namespace {

using TRole = TAccessiblePart::TRole;

TWindow* layerWindowOf(HWND hwnd) {
    return IsWindow(hwnd) ? reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))
                          : nullptr;
}

// What a reader reads as a part's name: a row's cells, the news itself, else what it is.
std::string nameOf(const TAccessiblePart& part) {
    return part.role == TRole::Row || part.role == TRole::Message ? part.text : part.name;
}

LONG roleOf(TRole role) {
    switch (role) {
    case TRole::Row:
        return ROLE_SYSTEM_LISTITEM;
    case TRole::Field:
        return ROLE_SYSTEM_TEXT;
    case TRole::Button:
        return ROLE_SYSTEM_PUSHBUTTON;
    case TRole::Message:
        return ROLE_SYSTEM_STATICTEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

HRESULT putText(const std::string& text, BSTR* out) {
    if (!out)
        return E_INVALIDARG;
    *out = SysAllocString(widen(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

void putChild(VARIANT* out, LONG id) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

// The client area of one window: its own properties from the system's object for it, its
// children the parts the window last told of (child id 1 is the first part).
class TPartsAccessible final : public IAccessible {
  public:
    TPartsAccessible(HWND hwnd, IAccessible* standard) : hwnd_(hwnd), standard_(standard) {}
    TPartsAccessible(const TPartsAccessible&) = delete;
    TPartsAccessible& operator=(const TPartsAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --count_;
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return left;
    }

    // No type library: readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = static_cast<LONG>(parts().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        *out = nullptr;
        return part(child) ? S_FALSE : E_INVALIDARG; // parts are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (isSelf(child))
            return standard_->get_accName(child, name);
        const TAccessiblePart* p = part(child);
        return p ? putText(nameOf(*p), name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const TAccessiblePart* p = part(child);
        if (!p || p->role != TRole::Field) {
            *value = nullptr;
            return isSelf(child) || p ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        }
        return putText(p->text, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return standard_->get_accDescription(self(child), out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (isSelf(child))
            return standard_->get_accRole(child, role);
        const TAccessiblePart* p = part(child);
        if (!p)
            return E_INVALIDARG;
        putChild(role, roleOf(p->role));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (isSelf(child))
            return standard_->get_accState(child, state);
        const TAccessiblePart* p = part(child);
        if (!p)
            return E_INVALIDARG;
        LONG bits = 0;
        if (p->role == TRole::Row)
            bits = STATE_SYSTEM_SELECTABLE | (p->selected ? STATE_SYSTEM_SELECTED : 0);
        else if (p->role == TRole::Field)
            bits = STATE_SYSTEM_FOCUSABLE |
                   (p->selected && GetFocus() == hwnd_ ? STATE_SYSTEM_FOCUSED : 0);
        else if (p->role == TRole::Message)
            bits = STATE_SYSTEM_READONLY;
        putChild(state, bits);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
        *out = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override {
        *file = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return standard_->get_accKeyboardShortcut(self(child), out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        const std::vector<TAccessiblePart>& all = parts();
        const auto edited = std::find_if(all.begin(), all.end(), [](const TAccessiblePart& p) {
            return p.role == TRole::Field && p.selected;
        });
        if (GetFocus() != hwnd_ || edited == all.end())
            return standard_->get_accFocus(focus);
        putChild(focus, static_cast<LONG>(edited - all.begin()) + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        const std::vector<TAccessiblePart>& all = parts();
        const auto row = std::find_if(all.begin(), all.end(), [](const TAccessiblePart& p) {
            return p.role == TRole::Row && p.selected;
        });
        if (row == all.end()) {
            VariantInit(selection);
            return S_FALSE;
        }
        putChild(selection, static_cast<LONG>(row - all.begin()) + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* out) override {
        *out = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (isSelf(child))
            return standard_->accLocation(left, top, width, height, child);
        const TAccessiblePart* p = part(child);
        if (!p)
            return E_INVALIDARG;
        if (p->bounds.IsEmpty())
            return DISP_E_MEMBERNOTFOUND;
        // Parts are placed in design units; the window is drawn at its screen's scale.
        const int dpi = dpiOf(hwnd_);
        POINT corner{toScreen(p->bounds.left, dpi), toScreen(p->bounds.top, dpi)};
        ClientToScreen(hwnd_, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = toScreen(p->bounds.Width(), dpi);
        *height = toScreen(p->bounds.Height(), dpi);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        const auto count = static_cast<LONG>(parts().size());
        LONG to = 0;
        if (isSelf(start) && direction == NAVDIR_FIRSTCHILD)
            to = 1;
        else if (isSelf(start) && direction == NAVDIR_LASTCHILD)
            to = count;
        else if (!isSelf(start) && part(start) && direction == NAVDIR_NEXT)
            to = start.lVal + 1;
        else if (!isSelf(start) && part(start) && direction == NAVDIR_PREVIOUS)
            to = start.lVal - 1;
        else
            return standard_->accNavigate(direction, start, end);
        if (to < 1 || to > count) {
            VariantInit(end);
            return S_FALSE;
        }
        putChild(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        POINT point{x, y};
        ScreenToClient(hwnd_, &point);
        const int dpi = dpiOf(hwnd_);
        const std::vector<TAccessiblePart>& all = parts();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].bounds.Contains(TPoint(toDesign(point.x, dpi), toDesign(point.y, dpi)))) {
                putChild(hit, static_cast<LONG>(i) + 1);
                return S_OK;
            }
        }
        return standard_->accHitTest(x, y, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    // The parts as the window last told of them; none once it is gone.
    const std::vector<TAccessiblePart>& parts() const {
        static const std::vector<TAccessiblePart> none;
        TWindow* window = layerWindowOf(hwnd_);
        return window && window->GetImpl().toldParts ? *window->GetImpl().toldParts : none;
    }
    static bool isSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }
    static VARIANT self(const VARIANT& child) {
        VARIANT own = child;
        own.lVal = CHILDID_SELF;
        return own;
    }
    const TAccessiblePart* part(const VARIANT& child) const {
        const std::vector<TAccessiblePart>& all = parts();
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > static_cast<LONG>(all.size()))
            return nullptr;
        return &all[static_cast<std::size_t>(child.lVal - 1)];
    }

    HWND hwnd_;
    IAccessible* standard_;
    ULONG count_ = 1;
};

} // namespace

LRESULT accessibleObject(TWindow& window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    HWND hwnd = window.GetImpl().hwnd;
    std::optional<std::vector<TAccessiblePart>>& told = window.GetImpl().toldParts;
    if (!told) {
        std::vector<TAccessiblePart> parts = window.AccessibleParts();
        if (parts.empty())
            return 0; // the system's own object serves a window that draws no parts
        told = std::move(parts);
    }
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new TPartsAccessible(hwnd, standard);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return result;
}

void announceParts(TWindow& window) {
    std::optional<std::vector<TAccessiblePart>>& told = window.GetImpl().toldParts;
    static bool reading = false; // reading the parts may send the window messages
    if (!told || reading || !window.GetImpl().hwnd)
        return;
    reading = true;
    std::vector<TAccessiblePart> now = window.AccessibleParts();
    reading = false;
    const std::vector<TAccessibleChange> changes = accessibleChanges(*told, now);
    *told = std::move(now);
    using TKind = TAccessibleChange::TKind;
    HWND hwnd = window.GetImpl().hwnd;
    if (std::any_of(changes.begin(), changes.end(), [](const TAccessibleChange& c) {
            return c.kind == TKind::Removed || c.kind == TKind::Added;
        }))
        NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
    int last = -1;       // the part whose text change was told
    DWORD lastEvent = 0; // and how
    for (const TAccessibleChange& change : changes) {
        if (change.kind == TKind::Removed || change.kind == TKind::Added)
            continue;
        const TRole role = (*told)[static_cast<std::size_t>(change.index)].role;
        DWORD event = 0;
        if (change.kind == TKind::TextRemoved || change.kind == TKind::TextInserted)
            event = role == TRole::Field ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE;
        else if (change.kind == TKind::Selected && role == TRole::Field)
            event = change.offset != 0 ? EVENT_OBJECT_FOCUS : 0;
        else if (change.kind == TKind::Selected)
            event = change.offset != 0 ? EVENT_OBJECT_SELECTION : EVENT_OBJECT_SELECTIONREMOVE;
        // One event for a text both shortened and lengthened.
        if (event == 0 || (change.index == last && event == lastEvent))
            continue;
        last = change.index;
        lastEvent = event;
        NotifyWinEvent(event, hwnd, OBJID_CLIENT, change.index + 1);
    }
}

} // namespace toolkit_win32
