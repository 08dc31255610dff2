#include "test_windows.h"

#include <algorithm>
#include <utility>

#include <gtest/gtest.h>

namespace wndinfo_test {
namespace {

LRESULT CALLBACK ScriptedProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* script = reinterpret_cast<TextScript*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_GETTEXT && script) {
        ++script->getTextCalls;
        if (script->destroyOnGetText) {
            const HWND victim = std::exchange(script->destroyOnGetText, nullptr);
            DestroyWindow(victim);
            if (victim == wnd) return 0;
        }
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        const auto units = std::min<std::size_t>(script->reply.size(), static_cast<std::size_t>(wParam));
        std::copy_n(script->reply.data(), units, buffer);
        return script->reportedCount;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

WindowClass::WindowClass(std::wstring name, bool scripted) : name_(std::move(name)) {
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = scripted ? ScriptedProc : DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name_.c_str();
    EXPECT_NE(RegisterClassExW(&wc), 0) << "GetLastError " << GetLastError();
}

WindowClass::~WindowClass() { UnregisterClassW(name_.c_str(), GetModuleHandleW(nullptr)); }

Window MakeWindow(const WindowClass& cls, const std::wstring& caption, TextScript* script) {
    Window wnd(CreateWindowExW(0, cls.Name(), caption.c_str(), WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), script));
    EXPECT_NE(wnd, nullptr) << "GetLastError " << GetLastError();
    return wnd;
}

std::vector<HWND> TopLevelWindowsOfClass(const std::wstring& className) {
    struct Walk {
        const std::wstring& className;
        std::vector<HWND> found;
    } walk{className, {}};
    EnumWindows(
        [](HWND wnd, LPARAM param) noexcept -> BOOL {
            auto& w = *reinterpret_cast<Walk*>(param);
            DWORD pid = 0;
            wchar_t name[MAX_PATH + 1] = {};
            GetWindowThreadProcessId(wnd, &pid);
            GetClassNameW(wnd, name, MAX_PATH + 1);
            try {
                if (pid == GetCurrentProcessId() && w.className == name) w.found.push_back(wnd);
            } catch (...) {
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

}  // namespace wndinfo_test
