// One program per settings folder on Windows: a named mutex, which goes with the last process
// holding it however that ends, and a message-only window that later starts find by name and
// hand their request to with WM_COPYDATA.
#include "support/strutil.h"
#include "toolkit/win32/win32backend.h"

#include <cstdio>
#include <memory>

using namespace toolkit_win32;

namespace {

constexpr const wchar_t* kRequestClass = L"DrovakStartRequests";
constexpr ULONG_PTR kRequestTag = 0x44524F56; // "DROV"
constexpr UINT kCarryOutMessage = WM_APP + 27;

struct TClaim {
    HANDLE mutex = nullptr;
    std::wstring name;
    HWND requests = nullptr;
    TWindow* window = nullptr;
};

TClaim& claim() {
    static TClaim c;
    return c;
}

// One name per settings folder (and user session, the mutex being local).
std::wstring claimName(const std::string& key) {
    const std::uint64_t hash = stableHash(key);
    wchar_t name[40];
    std::swprintf(name, 40, L"Drovak-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

LRESULT CALLBACK requestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TClaim& c = claim();
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (c.window == nullptr || data == nullptr || data->dwData != kRequestTag) {
            return FALSE;
        }
        auto request = std::make_unique<TStartRequest>();
        request->file.assign(static_cast<const char*>(data->lpData), data->cbData);
        HWND top = GetAncestor(hwndOf(c.window), GA_ROOT);
        if (top != nullptr) {
            if (IsIconic(top)) {
                ShowWindow(top, SW_RESTORE);
            }
            SetForegroundWindow(top);
        }
        // Carried out after the reply, so the later start never waits on a question asked.
        PostMessageW(hwnd, kCarryOutMessage, 0, reinterpret_cast<LPARAM>(request.release()));
        return TRUE;
    }
    if (message == kCarryOutMessage) {
        std::unique_ptr<TStartRequest> request(reinterpret_cast<TStartRequest*>(lParam));
        if (c.window != nullptr) {
            TMsg msg;
            msg.kind = TMsgKind::StartRequest;
            msg.startRequest = request.get();
            c.window->Dispatch(msg);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

bool ClaimSingleInstance(const std::string& key) {
    TClaim& c = claim();
    if (c.mutex != nullptr) {
        return true;
    }
    const std::wstring name = claimName(key);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str());
    if (mutex == nullptr) {
        return true; // no mutex to be had: no other start can be found either
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    c.mutex = mutex;
    c.name = name;
    return true;
}

bool HandToRunningInstance(const std::string& key, const std::string& file) {
    const std::wstring name = claimName(key);
    // The running program may have its mutex and not yet its window: a few tries.
    for (int attempt = 0; attempt < 30; ++attempt) {
        HWND target = FindWindowExW(HWND_MESSAGE, nullptr, kRequestClass, name.c_str());
        if (target != nullptr) {
            AllowSetForegroundWindow(ASFW_ANY); // so that it may come to the front
            COPYDATASTRUCT data{kRequestTag, static_cast<DWORD>(file.size()),
                                const_cast<char*>(file.data())};
            DWORD_PTR result = FALSE;
            return SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                       SMTO_ABORTIFHUNG, 10000, &result) != 0 &&
                   result == TRUE;
        }
        Sleep(100);
    }
    return false;
}

void TWindow::AcceptStartRequests(bool accept) {
    TClaim& c = claim();
    if (!accept) {
        if (c.window == this) {
            c.window = nullptr;
            if (c.requests != nullptr) {
                DestroyWindow(c.requests);
                c.requests = nullptr;
            }
        }
        return;
    }
    c.window = this;
    if (c.requests != nullptr || c.name.empty()) {
        return;
    }
    static const bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = requestProc;
        cls.hInstance = instance();
        cls.lpszClassName = kRequestClass;
        return RegisterClassW(&cls) != 0;
    }();
    if (registered) {
        c.requests = CreateWindowExW(0, kRequestClass, c.name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, instance(), nullptr);
    }
}
