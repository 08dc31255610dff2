// Test helper: another program that takes activation.
//   ui_other_program.exe <ready event name>
// Shows one window, brings it to the foreground, signals the event, then
// pumps messages until WM_QUIT (posted to its thread by the test) or a minute
// has passed, so that a test that dies early leaves no process behind.
#include <windows.h>
#include <shellapi.h>

namespace {
constexpr UINT kLifetimeMs = 60'000;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) return 2;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    LocalFree(argv);
    if (!ready) return 3;

    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"QuinceOtherProgram";
    RegisterClassExW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"other program", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10,
                               200, 150, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 4;
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    SetEvent(ready);
    CloseHandle(ready);

    SetTimer(nullptr, 0, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        DispatchMessageW(&msg);
    }
    DestroyWindow(wnd);
    return 0;
}
