// Test helper: owns one hidden top-level window in a process of its own.
//   wndinfo_stub_window.exe <ready event name> <class name> <caption>
// Signals the event once the window exists, then pumps messages until it gets
// WM_QUIT (posted to its thread by the test) or a minute has passed, so that a
// test that dies early leaves no process behind for long.
#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {

constexpr UINT kLifetimeMs = 60'000;

struct LocalFreeDeleter {
    void operator()(LPWSTR* args) const noexcept { LocalFree(args); }
};

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!argv || argc != 4) return 2;
    LPWSTR* args = argv.get();

    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = args[2];
    if (!RegisterClassExW(&wc)) return 3;
    HWND wnd = CreateWindowExW(0, args[2], args[3], WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 4;

    std::unique_ptr<void, HandleCloser> ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args[1]));
    if (!ready || !SetEvent(ready.get())) return 5;

    SetTimer(nullptr, 0, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        DispatchMessageW(&msg);
    }
    DestroyWindow(wnd);
    return 0;
}
