// WatchFolder on Windows: ReadDirectoryChangesW on a thread of its own, whose news reach the
// window's table through a message-only window of the program's thread.
#include "toolkit/win32/win32backend.h"

#include <mutex>
#include <thread>

using namespace toolkit_win32;

namespace {

constexpr UINT kNewsMessage = WM_APP + 26;
constexpr const wchar_t* kNewsClass = L"DrovakFolderNews";

class TFolderWatch {
  public:
    TFolderWatch(TWindow& owner, const std::string& folder) : owner_(owner), folder_(folder) {}
    TFolderWatch(const TFolderWatch&) = delete;
    TFolderWatch& operator=(const TFolderWatch&) = delete;

    ~TFolderWatch() {
        if (stop_) {
            SetEvent(stop_);
        }
        if (reader_.joinable()) {
            reader_.join();
        }
        for (HANDLE h : {stop_, done_}) {
            if (h) {
                CloseHandle(h);
            }
        }
        if (dir_ != INVALID_HANDLE_VALUE) {
            CloseHandle(dir_);
        }
        if (news_) {
            DestroyWindow(news_);
        }
    }

    bool Start() {
        static const bool registered = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = newsProc;
            cls.hInstance = instance();
            cls.lpszClassName = kNewsClass;
            return RegisterClassW(&cls) != 0;
        }();
        dir_ =
            CreateFileW(widen(folder_).c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!registered || dir_ == INVALID_HANDLE_VALUE || !stop_ || !done_) {
            return false;
        }
        news_ = CreateWindowExW(0, kNewsClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance(), nullptr);
        if (!news_) {
            return false;
        }
        SetWindowLongPtrW(news_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // The first request before the caller goes on: nothing it changes next is missed.
        if (!request()) {
            return false;
        }
        reader_ = std::thread([this] { read(); });
        return true;
    }

  private:
    static LRESULT CALLBACK newsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kNewsMessage) {
            if (auto* self =
                    reinterpret_cast<TFolderWatch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                self->deliver();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    // On the reader's thread: each batch of news is queued and the window's thread told.
    // Asks for the next batch of news; the system keeps what changes from then on.
    bool request() {
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = done_;
        ResetEvent(done_);
        constexpr DWORD kWanted =
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
        return ReadDirectoryChangesW(dir_, words_.data(),
                                     static_cast<DWORD>(words_.size() * sizeof(DWORD)), FALSE,
                                     kWanted, nullptr, &overlapped_, nullptr) != 0;
    }

    // On the reader's thread: each batch of news is queued and the window's thread told.
    void read() {
        const char* buffer = reinterpret_cast<const char*>(words_.data());
        for (;;) {
            HANDLE waits[] = {done_, stop_};
            DWORD bytes = 0;
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(dir_, &overlapped_);
                GetOverlappedResult(dir_, &overlapped_, &bytes, TRUE);
                return;
            }
            std::vector<std::string> names;
            if (GetOverlappedResult(dir_, &overlapped_, &bytes, FALSE) && bytes > 0) {
                for (DWORD at = 0;;) {
                    const auto* info =
                        reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
                    names.push_back(narrowUtf8(
                        std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t))));
                    if (info->NextEntryOffset == 0)
                        break;
                    at += info->NextEntryOffset;
                }
            }
            // No bytes: the system's buffer overflowed and names were lost.
            post(std::move(names));
            if (!request()) {
                post({}); // no more news: whatever changes from now on is unknown
                return;
            }
        }
    }

    void post(std::vector<std::string> names) {
        {
            std::lock_guard lock(mutex_);
            if (names.empty())
                wholly_ = true;
            for (auto& name : names)
                queued_.push_back(std::move(name));
        }
        PostMessageW(news_, kNewsMessage, 0, 0);
    }

    void deliver() {
        TFolderChange change{folder_, {}};
        bool wholly = false;
        {
            std::lock_guard lock(mutex_);
            change.names.swap(queued_);
            std::swap(wholly, wholly_);
        }
        if (wholly)
            change.names.clear();
        else if (change.names.empty())
            return;
        TMsg msg;
        msg.kind = TMsgKind::FolderChange;
        msg.folderChange = &change;
        owner_.Dispatch(msg);
    }

    TWindow& owner_;
    std::string folder_;
    HANDLE dir_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    HANDLE done_ = nullptr;
    HWND news_ = nullptr;
    OVERLAPPED overlapped_{};
    std::vector<DWORD> words_ = std::vector<DWORD>(16 * 1024); // news lie on DWORD boundaries
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::string> queued_;
    bool wholly_ = false;
};

} // namespace

bool TWindow::WatchFolder(const std::string& folder) {
    GetImpl().folderWatch.reset();
    if (folder.empty()) {
        return true;
    }
    auto watch = std::make_shared<TFolderWatch>(*this, folder);
    if (!watch->Start()) {
        return false;
    }
    GetImpl().folderWatch = std::move(watch);
    return true;
}
