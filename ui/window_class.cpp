#include "ui/window_class.h"

#include <set>
#include <string>

#include "core/messages.h"

namespace ui {

namespace {

core::Error WindowError(std::wstring_view className, const wchar_t* operation, DWORD error) {
    const HRESULT hr = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    return core::Error(core::messages::ErrorText(core::messages::Failure::CreateWindow, className, {}, operation,
                                                 static_cast<std::uint32_t>(hr)));
}

}  // namespace

void RegisterWindowClass(const WNDCLASSEXW& wc) {
    static std::set<std::wstring, std::less<>> registered;
    const std::wstring_view name = wc.lpszClassName;
    if (registered.find(name) != registered.end()) return;
    if (!RegisterClassExW(&wc)) {
        const DWORD error = GetLastError();
        if (error != ERROR_CLASS_ALREADY_EXISTS) throw WindowError(name, L"RegisterClassEx", error);
    }
    registered.emplace(name);
}

core::Error WindowNotCreated(std::wstring_view className) {
    return WindowError(className, L"CreateWindowEx", GetLastError());
}

}  // namespace ui
