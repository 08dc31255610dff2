#pragma once
// Real top-level windows of the test process, for the finder tests.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace wndinfo_test {

// How a scripted window answers WM_GETTEXT and what it records.
struct TextScript {
    // Units written into the caller's buffer (cut to the buffer's size, no
    // NUL added) and the count reported back, which may lie.
    std::wstring reply;
    LRESULT reportedCount = 0;
    // Window to destroy when asked for our text (may be the window itself).
    HWND destroyOnGetText = nullptr;
    int getTextCalls = 0;
};

// A window class registered for one test and unregistered with it. Window
// class names ignore case, so "StubWindow32" and "stubwindow32" can only be
// told apart by registering them one at a time.
class WindowClass {
public:
    // scripted: WM_GETTEXT is answered from the TextScript passed at creation;
    // otherwise every message goes to DefWindowProc.
    explicit WindowClass(std::wstring name, bool scripted = false);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    const wchar_t* Name() const { return name_.c_str(); }

private:
    std::wstring name_;
};

struct WindowDestroyer {
    void operator()(HWND wnd) const noexcept {
        if (IsWindow(wnd)) DestroyWindow(wnd);
    }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A hidden top-level window; `script` is used by scripted classes only and
// must outlive the window.
Window MakeWindow(const WindowClass& cls, const std::wstring& caption, TextScript* script = nullptr);

// This process's top-level windows of a class, in EnumWindows order.
std::vector<HWND> TopLevelWindowsOfClass(const std::wstring& className);

}  // namespace wndinfo_test
