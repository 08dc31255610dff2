#pragma once
// Drives modal loops (dialogs, tracked popup menus) of the test's own thread
// from a thread timer: the modal loop dispatches the timer, the step acts on
// the window it finds (posting keys, reading controls). No human needed.
#include <windows.h>

#include <functional>
#include <string>

namespace ui_test {

class TimerDriver {
public:
    // step runs every few milliseconds until it returns true. After
    // timeoutMs every open dialog and menu of the thread is ended, so that a
    // failing test still returns; TimedOut then says so.
    explicit TimerDriver(std::function<bool()> step, DWORD timeoutMs = 8000);
    ~TimerDriver();
    TimerDriver(const TimerDriver&) = delete;
    TimerDriver& operator=(const TimerDriver&) = delete;

    bool Done() const noexcept { return done_; }
    bool TimedOut() const noexcept { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void OnTick();
    std::function<bool()> step_;
    UINT_PTR timer_ = 0;
    ULONGLONG deadline_;
    bool done_ = false;
    bool timedOut_ = false;
    bool inStep_ = false;
};

// A visible top-level window of this thread with the given class ("#32770"
// for dialogs, "#32768" for popup menus), or null. With index, the n-th one.
HWND FindThreadWindow(const wchar_t* className, int index = 0);
int CountThreadWindows(const wchar_t* className);
// Posts a key press (down and up) to target, as the keyboard would.
void PressKey(HWND target, UINT vk);
// Posts one WM_CHAR per character to target.
void TypeText(HWND target, const std::wstring& text);
// The text of a window.
std::wstring TextOf(HWND wnd);

}  // namespace ui_test
