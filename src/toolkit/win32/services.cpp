// The platform's services on the Windows API: clipboard, sounds, mail, documents, trash.

#include "resources/resources.h"
#include "toolkit/errors.h"
#include "toolkit/win32/win32backend.h"

#include <cstring>

#include <mmsystem.h>
#include <shellapi.h>
#include <shlwapi.h>

using namespace toolkit_win32;

// --- TClipboard: CF_TEXT carries the game's codes as they are, Windows-1252 -------------------

TClipboard::TClipboard(TWindow& owner) : open_(OpenClipboard(ownerOf(&owner)) != FALSE) {}

TClipboard::~TClipboard() {
    if (open_)
        CloseClipboard();
}

bool TClipboard::EmptyClipboard() {
    return open_ && ::EmptyClipboard();
}

bool TClipboard::IsClipboardFormatAvailable(uint format) const {
    return open_ && ::IsClipboardFormatAvailable(format);
}

namespace {

// Puts a copy of data (size bytes) on the open clipboard as format.
bool putOnClipboard(UINT format, const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

} // namespace

bool TClipboard::SetText(std::string_view bytes) {
    if (!open_ || !::EmptyClipboard())
        return false;
    // The Unicode form is made here as Windows-1252: Windows would make it from CF_TEXT with
    // the system's code page, which turns the game's accents into other letters on a Russian
    // or Japanese system.
    const std::string text(bytes);
    const std::wstring wide = widen1252(text);
    return putOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)) &&
           putOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
}

std::string TClipboard::GetText() const {
    if (!open_)
        return {};
    // The Unicode form first: text another program copied converts exactly as Windows-1252.
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        std::wstring text = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
        return narrow1252(text);
    }
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        std::string text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
        return text;
    }
    return {};
}

// --- TWaveSound -------------------------------------------------------------------------------

TWaveSound::TWaveSound(const char* elementName)
    : name_(elementName ? elementName : ""), impl_(std::make_unique<Impl>()) {
    impl_->path = widen(resources::soundFile(name_.c_str()));
}

TWaveSound::~TWaveSound() = default;

bool TWaveSound::Play() {
    // An asynchronous PlaySound reports success before it looks for the file.
    const DWORD attributes = GetFileAttributesW(impl_->path.c_str());
    return !impl_->path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           PlaySoundW(impl_->path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

// --- Mail, documents, trash -------------------------------------------------------------------

// Whatever program opens .eml files takes the message; a mailto link could not carry the
// attachment here.
TMailProgram OpenMail(const char* messageFile, const TMailDraft&) {
    wchar_t program[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, L".eml", L"open", program, &size) !=
        S_OK)
        return TMailProgram::None;
    return LaunchDocument(messageFile) ? TMailProgram::Message : TMailProgram::None;
}

bool LaunchDocument(const char* path) {
    if (!path || !*path)
        return false;
    // ShellExecute's result above 32 says a program took the document.
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", widen(path).c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED));
    return result > 32;
}

bool MoveToTrash(const char* path) {
    if (!path || !*path)
        return false;
    // The list of names ends with an empty one.
    std::wstring from = widen(path);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted &&
           GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::uint64_t GetTickCount64() {
    return windowsTickCount();
}

bool ShowStartupError(const char* text, const char* caption) {
    return MessageBoxW(nullptr, widen(text ? text : "").c_str(),
                       widen(caption ? caption : "Drovak").c_str(), MB_OK | MB_ICONSTOP) != 0;
}
