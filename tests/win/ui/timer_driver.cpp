#include "timer_driver.h"

#include <vector>

namespace ui_test {

namespace {

TimerDriver* g_driver = nullptr;

struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    if (IsWindowVisible(wnd) && lstrcmpiW(cls, s->className) == 0) s->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> ThreadWindows(const wchar_t* className) {
    Search s{className, {}};
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

TimerDriver::TimerDriver(std::function<bool()> step, DWORD timeoutMs)
    : step_(std::move(step)), deadline_(GetTickCount64() + timeoutMs) {
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, 30, &TimerDriver::Tick);
}

TimerDriver::~TimerDriver() {
    if (timer_) KillTimer(nullptr, timer_);
    if (g_driver == this) g_driver = nullptr;
}

void CALLBACK TimerDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver) g_driver->OnTick();
}

void TimerDriver::OnTick() {
    if (inStep_) return;
    if (done_) return;
    if (GetTickCount64() > deadline_) {
        timedOut_ = true;
        done_ = true;
        for (HWND dlg : ThreadWindows(L"#32770")) EndDialog(dlg, IDCANCEL);
        EndMenu();
        return;
    }
    inStep_ = true;
    done_ = step_();
    inStep_ = false;
}

HWND FindThreadWindow(const wchar_t* className, int index) {
    auto found = ThreadWindows(className);
    return index < static_cast<int>(found.size()) ? found[static_cast<size_t>(index)] : nullptr;
}

int CountThreadWindows(const wchar_t* className) { return static_cast<int>(ThreadWindows(className).size()); }

void PressKey(HWND target, UINT vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

void TypeText(HWND target, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
}

std::wstring TextOf(HWND wnd) {
    wchar_t buf[512] = {};
    GetWindowTextW(wnd, buf, 512);
    return buf;
}

}  // namespace ui_test
