// Drawing contexts and the desktop's services: clipboard, sounds, mail, launching documents.

#include <chrono>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/filename.h>
#include <wx/mimetype.h>
#include <wx/process.h>
#include <wx/settings.h>
#include <wx/stream.h>
#include <wx/utils.h>

#if defined(__WXGTK__)
#include <canberra.h>
#include <dlfcn.h>
#include <gio/gio.h>
#else
#include <wx/sound.h>
#endif

#include "resources/resources.h"
#include "support/cp1252.h"
#include "toolkit/wx/convert.h"
#include "toolkit/wx/wxbackend.h"

using namespace toolkit_wx;

// ---- Drawing.

TDC::TDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TDC::~TDC() {
    if (impl_ && impl_->source.IsOk())
        impl_->source.SelectObject(wxNullBitmap);
}

bool TDC::BitBlt(const TRect& dest, const TDib& dib, const TPoint& src) {
    if (!impl_ || !impl_->dc || dest.IsEmpty() || dib.Width() <= 0 || dib.Height() <= 0)
        return false;
    // A blit through a memory device context converts the whole picture whenever the picture
    // changes: a glyph strip costs far more than its glyph. The graphics context draws the part
    // it converted the first time that part was drawn.
    if (wxGraphicsContext* gc = impl_->dc->GetGraphicsContext()) {
        if (wxGraphicsRenderer* renderer = gc->GetRenderer()) {
            const TRect part = TRect(src, dest.Size()) & TRect(TPoint(0, 0), dib.Size());
            if (!part.IsEmpty()) {
                gc->DrawBitmap(graphicsBitmapOf(dib, part, *renderer),
                               dest.left + part.left - src.x, dest.top + part.top - src.y,
                               part.Width(), part.Height());
            }
            return true;
        }
    }
    wxBitmap bitmap = bitmapOf(dib);
    if (!bitmap.IsOk())
        return false;
    const void* native = dib.GetNative().get();
    if (impl_->selected != native) {
        impl_->source.SelectObjectAsSource(bitmap);
        impl_->selected = native;
    }
    return impl_->dc->Blit(dest.left, dest.top, dest.Width(), dest.Height(), &impl_->source, src.x,
                           src.y);
}

bool TDC::TextOut(int x, int y, const std::string& text, const TColor& color) {
    if (!impl_ || !impl_->dc)
        return false;
    impl_->dc->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    impl_->dc->SetTextForeground(wxColour(color.r, color.g, color.b));
    impl_->dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    impl_->dc->DrawText(toWx(text), x, y);
    return true;
}

TRect TDC::GetClipBox() const {
    return impl_ ? impl_->clip : TRect();
}

// ---- Clipboard: the game's 8-bit codes cross it as Windows-1252.

namespace {
// Whether the program put text on the clipboard since it was last handed to the desktop.
bool g_clipboardWritten = false;
} // namespace

TClipboard::TClipboard(TWindow& /*owner*/) {
    open_ = ensureWx() && wxTheClipboard->Open();
}

TClipboard::~TClipboard() {
    if (!open_)
        return;
    // The desktop keeps what the program copied after the program ends, as on Windows.
    if (g_clipboardWritten)
        wxTheClipboard->Flush();
    g_clipboardWritten = false;
    wxTheClipboard->Close();
}

bool TClipboard::EmptyClipboard() {
    if (!open_)
        return false;
    wxTheClipboard->Clear();
    return true;
}

bool TClipboard::IsClipboardFormatAvailable(uint format) const {
    if (!open_ || format != CF_TEXT)
        return false;
    return wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
}

bool TClipboard::SetText(std::string_view bytes) {
    if (!open_)
        return false;
    const wxString text = wxString::FromUTF8(utf8FromCp1252(bytes));
    const bool set = wxTheClipboard->SetData(new wxTextDataObject(text));
    g_clipboardWritten = g_clipboardWritten || set;
    return set;
}

std::string TClipboard::GetText() const {
    if (!open_ || !IsClipboardFormatAvailable(CF_TEXT))
        return std::string();
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data))
        return std::string();
    return cp1252FromUtf8(fromWx(data.GetText()));
}

// ---- Sounds.

namespace {

// The file of a sound element: the file of that name in the working directory, as the
// program ships them, else the one the resources name.
std::string soundPath(const std::string& element) {
    if (!element.empty() && wxFileName::FileExists(toWx(element)))
        return element;
    return resources::soundFile(element.c_str());
}

#if defined(__WXGTK__)
// libcanberra, opened when the first sound plays: a program started with its sounds off
// never loads it (nor its codecs), and one without it installed is merely silent.
struct Canberra {
    int (*create)(ca_context**) = nullptr;
    int (*destroy)(ca_context*) = nullptr;
    int (*play)(ca_context*, uint32_t, ...) = nullptr;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// One event-sound context for the program: a sound keeps playing after its TWaveSound is gone.
ca_context* soundContext(const Canberra*& api) {
    struct Context {
        Canberra api;
        ca_context* ctx = nullptr;
        bool tried = false;
        ~Context() {
            if (ctx)
                api.destroy(ctx);
        }
    };
    static Context context;
    if (!context.tried) {
        context.tried = true;
        void* library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        Canberra found;
        if (library && resolve(library, "ca_context_create", found.create) &&
            resolve(library, "ca_context_destroy", found.destroy) &&
            resolve(library, "ca_context_play", found.play)) {
            context.api = found;
            if (context.api.create(&context.ctx) != CA_SUCCESS)
                context.ctx = nullptr;
        }
    }
    api = &context.api;
    return context.ctx;
}
#endif

} // namespace

struct TWaveSound::Impl {
#if !defined(__WXGTK__)
    std::unique_ptr<wxSound> sound;
#endif
};

TWaveSound::TWaveSound(const char* elementName)
    : name_(elementName ? elementName : ""), impl_(std::make_unique<Impl>()) {}

TWaveSound::~TWaveSound() = default;

bool TWaveSound::Play() {
    const std::string path = soundPath(name_);
    wxFileName file(toWx(path));
    if (!file.FileExists())
        return false;
    file.MakeAbsolute();
#if defined(__WXGTK__)
    const Canberra* canberra = nullptr;
    ca_context* ctx = soundContext(canberra);
    if (!ctx)
        return false;
    // No sound device: canberra reports an error, and the sound is silent.
    return canberra->play(ctx, 0, CA_PROP_MEDIA_FILENAME,
                          static_cast<const char*>(file.GetFullPath().utf8_str()),
                          CA_PROP_EVENT_DESCRIPTION, name_.c_str(), nullptr) == CA_SUCCESS;
#else
    impl_->sound = std::make_unique<wxSound>(file.GetFullPath());
    return impl_->sound->IsOk() && impl_->sound->Play(wxSOUND_ASYNC);
#endif
}

// ---- Mail and documents.

TMailProgram OpenMail(const char* messageFile, const TMailDraft& draft) {
    if (!ensureWx())
        return TMailProgram::None;
#if defined(__WXGTK__)
    // A program that names messages among its types opens the composed one as a draft: the
    // default when it is one of them, else the first. One that takes them only as plain text
    // (an editor) would show the source.
    GList* programs = g_app_info_get_recommended_for_type("message/rfc822");
    GAppInfo* preferred = g_app_info_get_default_for_type("message/rfc822", FALSE);
    GAppInfo* chosen = programs ? G_APP_INFO(programs->data) : nullptr;
    for (GList* p = programs; p && preferred; p = p->next)
        if (g_app_info_equal(G_APP_INFO(p->data), preferred))
            chosen = G_APP_INFO(p->data);
    gboolean opened = FALSE;
    if (chosen && messageFile) {
        GFile* file = g_file_new_for_path(messageFile);
        GList files = {file, nullptr, nullptr};
        opened = g_app_info_launch(chosen, &files, nullptr, nullptr);
        g_object_unref(file);
    }
    if (preferred)
        g_object_unref(preferred);
    g_list_free_full(programs, g_object_unref);
    if (opened)
        return TMailProgram::Message;
    GAppInfo* links = g_app_info_get_default_for_uri_scheme("mailto");
    if (!links)
        return TMailProgram::None;
    g_object_unref(links);
    // xdg-email knows how each common program takes an attachment (Thunderbird's -compose,
    // the attach= of a mailto link for the rest). Started directly: no shell reads the texts.
    std::vector<std::string> args = {"xdg-email", "--utf8"};
    const std::pair<const char*, const std::string*> options[] = {
        {"--subject", &draft.subject}, {"--body", &draft.body}, {"--attach", &draft.attachment}};
    for (const auto& [option, value] : options) {
        if (!value->empty()) {
            args.push_back(option);
            args.push_back(toWx(*value).utf8_string());
        }
    }
    if (!draft.to.empty())
        args.push_back(toWx(draft.to).utf8_string());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    GError* error = nullptr;
    const gboolean started = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH,
                                           nullptr, nullptr, nullptr, &error);
    if (error)
        g_error_free(error);
    return started ? TMailProgram::Link : TMailProgram::None;
#else
    (void)draft;
    return LaunchDocument(messageFile) ? TMailProgram::Message : TMailProgram::None;
#endif
}

bool LaunchDocument(const char* path) {
    if (!path || !*path || !ensureWx())
        return false;
#if defined(__WXGTK__)
    // The opener starts even when no program takes the document, and fails where nobody sees.
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(path, nullptr, 0, &uncertain);
    GAppInfo* handler = type ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    g_free(type);
    if (!handler)
        return false;
    g_object_unref(handler);
#endif
    // The desktop's own opener, started directly: no shell reads the name.
    return wxLaunchDefaultApplication(toWx(path));
}

bool MoveToTrash(const char* path) {
#if defined(__WXGTK__)
    if (!path || !*path)
        return false;
    GFile* file = g_file_new_for_path(path);
    GError* error = nullptr;
    const bool moved = g_file_trash(file, nullptr, &error) != FALSE;
    if (error)
        g_error_free(error);
    g_object_unref(file);
    return moved;
#else
    return false; // no trash this backend knows of
#endif
}

std::uint64_t GetTickCount64() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
