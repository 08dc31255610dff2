#include "ui/synchronize.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "ui/handles.h"
#include "ui/window_class.h"

namespace ui {

namespace {

constexpr wchar_t kClass[] = L"TSynchronize";
constexpr UINT kRunMessage = WM_APP + 1;     // lParam: the TCall
constexpr UINT kReportMessage = WM_APP + 2;  // the reports are in g_reports

struct TCall {
    const std::function<void()>& fn;
    std::exception_ptr error;
};

// Read by any thread; made and destroyed by the UI thread.
std::atomic<HWND> g_window{nullptr};
UniqueWindow g_owned;

// Reports wait here rather than in a message: one posted to a window that
// goes before it is read would take its error with it unfreed.
std::mutex g_reportsLock;
std::vector<std::exception_ptr> g_reports;
// How a report is shown (the application's error report); UI thread only.
std::function<void(std::exception_ptr)> g_show;

void ShowReports() noexcept {
    std::vector<std::exception_ptr> reports;
    {
        std::lock_guard<std::mutex> hold(g_reportsLock);
        reports.swap(g_reports);
    }
    for (const std::exception_ptr& error : reports) {
        if (g_show) g_show(error);
    }
}

LRESULT CALLBACK SynchronizeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kRunMessage: {
            // The exception goes back to the thread that sent the call.
            auto& call = *reinterpret_cast<TCall*>(lp);
            try {
                call.fn();
            } catch (...) {
                call.error = std::current_exception();
            }
            return 1;
        }
        case kReportMessage:
            ShowReports();
            return 0;
        case WM_NCDESTROY:
            g_window = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

void OpenSynchronizeWindow(std::function<void(std::exception_ptr)> report) {
    g_show = std::move(report);
    if (g_window.load()) return;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = &SynchronizeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterWindowClass(wc);
    HWND wnd = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!wnd) throw WindowNotCreated(kClass);
    g_owned.reset(wnd);
    g_window = wnd;
}

bool Synchronize(const std::function<void()>& fn) {
    HWND wnd = g_window.load();
    if (!wnd) return false;
    if (GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId()) {
        fn();
        return true;
    }
    TCall call{fn, nullptr};
    // 0: the window went before the call could reach it.
    if (!SendMessageW(wnd, kRunMessage, 0, reinterpret_cast<LPARAM>(&call))) return false;
    if (call.error) std::rethrow_exception(call.error);
    return true;
}

void ReportOnUiThread(std::exception_ptr error) noexcept {
    HWND wnd = g_window.load();
    if (!wnd || !error) return;
    try {
        std::lock_guard<std::mutex> hold(g_reportsLock);
        g_reports.push_back(std::move(error));
    } catch (...) {
        return;  // no memory for it: nowhere is left to tell
    }
    PostMessageW(wnd, kReportMessage, 0, 0);
}

}  // namespace ui
