#include "ui/application.h"

#include <algorithm>
#include <new>

#include "core/error.h"
#include "core/messages.h"
#include "core/scope_exit.h"
#include "sys/text.h"
#include "ui/synchronize.h"
#include "ui/window_class.h"

namespace ui {

namespace {

constexpr wchar_t kAppClass[] = L"TApplication";
constexpr UINT_PTR kDeactivateTimer = 1;

bool ForegroundIsThisProcess() noexcept {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId();
}

}  // namespace

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto& app = Application();
    bool handled = false;
    app.Guard([&] {
        if (msg == WM_ACTIVATEAPP) {
            app.ActivateAppChanged(wp != FALSE, static_cast<DWORD>(lp));
        } else if (msg == WM_TIMER && wp == kDeactivateTimer) {
            handled = true;
            KillTimer(wnd, kDeactivateTimer);
            if (!app.deactivatePending_ || app.active_) return;
            // The loss did not name a thread of ours, yet activation may
            // still have gone to one: under Wine with a window manager it
            // passes through the X focus, and the main thread hears of a loss
            // to "nobody" (0) before the other thread's window gets it. Who
            // holds the foreground once the grace is over decides.
            if (app.lossUnnamed_ && ForegroundIsThisProcess()) {
                app.active_ = true;
                app.deactivatePending_ = false;
            } else {
                app.RaiseDeactivate();
            }
        }
    });
    return handled ? 0 : DefWindowProcW(wnd, msg, wp, lp);
}

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

void TApplication::Initialize() {
    if (!handle_) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &TApplication::AppWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kAppClass;
        RegisterWindowClass(wc);
        // A zero-sized, never-shown top-level window, like the classic
        // toolkits' application window: it owns nothing here but answers for
        // the program.
        handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kAppClass, Title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        if (!handle_) throw WindowNotCreated(kAppClass);
    }
    OpenSynchronizeWindow([this](std::exception_ptr error) { ShowException(error); });
}

void TApplication::Run() {
    if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
    while (!terminated_) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ProcessMessage(msg);
            continue;
        }
        // The queue is empty: idle turn. A handler that clears Done asks for
        // another turn at once instead of waiting for the next message.
        if (DoIdle() && !terminated_) WaitMessage();
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(msg);
}

void TApplication::Terminate() {
    if (!terminated_) PostQuitMessage(0);
}

bool TApplication::DoIdle() {
    bool done = true;
    try {
        // Copy: a handler may create or destroy events components.
        auto events = events_;
        for (auto* e : events) {
            if (std::find(events_.begin(), events_.end(), e) == events_.end()) continue;
            if (e->OnIdle) e->OnIdle(this, done);
        }
    } catch (...) {
        HandleException();
    }
    return done;
}

bool TApplication::IsThreadOfThisProcess(DWORD threadId) noexcept {
    if (threadId == 0) return false;
    if (threadId == GetCurrentThreadId()) return true;
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId);
    if (!thread) return false;
    DWORD process = GetProcessIdOfThread(thread);
    CloseHandle(thread);
    return process != 0 && process == GetCurrentProcessId();
}

void TApplication::ActivateAppChanged(bool active, DWORD otherThread) {
    // Activation passing to a window of another thread of ours keeps the
    // program active as a whole: it is the shell working for us.
    if (!active && IsThreadOfThisProcess(otherThread)) active = true;
    if (active) {
        active_ = true;
        if (deactivatePending_) {
            deactivatePending_ = false;
            if (handle_) KillTimer(handle_, kDeactivateTimer);
        }
        return;
    }
    // Every top-level window of the thread gets WM_ACTIVATEAPP; one loss of
    // activation is one event.
    if (!active_) return;
    active_ = false;
    deactivatePending_ = true;
    lossUnnamed_ = otherThread == 0;
    if (!handle_ || !SetTimer(handle_, kDeactivateTimer, kDeactivateGraceMs, nullptr)) RaiseDeactivate();
}

void TApplication::RaiseDeactivate() {
    deactivatePending_ = false;
    auto events = events_;
    for (auto* e : events) {
        if (std::find(events_.begin(), events_.end(), e) == events_.end()) continue;
        if (e->OnDeactivate) e->OnDeactivate(this);
    }
}

std::wstring TApplication::ExceptionText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const core::Error& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return core::messages::Sentence(core::messages::Failure::ReserveMemory);
    } catch (const std::exception& e) {
        return sys::Widen(e.what(), CP_UTF8);
    } catch (...) {
        return core::messages::Sentence(core::messages::Failure::Unknown);
    }
}

void TApplication::HandleException() noexcept {
    ShowException(std::current_exception());
}

std::wstring TApplication::BurstText(int count) {
    return core::messages::MoreErrors(count);
}

void TApplication::ShowException(const std::exception_ptr& error) noexcept {
    try {
        if (reporting_) {
            ++unreported_;
            return;
        }
        reporting_ = true;
        unreported_ = 0;
        const auto burstOver = core::ScopeExit([this] { reporting_ = false; });
        auto report = [this](const std::wstring& text) {
            if (OnException) {
                OnException(text);
                return;
            }
            HWND owner = nullptr;
            if (mainForm_ && mainForm_->Handle() && IsWindowVisible(mainForm_->Handle())) owner = mainForm_->Handle();
            MessageBoxW(owner, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
        };
        report(error ? ExceptionText(error) : core::messages::Sentence(core::messages::Failure::Unknown));
        if (unreported_ > 0) report(BurstText(unreported_));
    } catch (...) {
        // Nothing sensible is left to report with.
    }
}

TApplicationEvents::TApplicationEvents() { Application().events_.push_back(this); }

TApplicationEvents::~TApplicationEvents() {
    auto& list = Application().events_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

}  // namespace ui
