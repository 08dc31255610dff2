// The end of the run: after a shell command the base window closes on the
// next idle turn; after "properties" only once the window hosting the
// property sheet in this process has come and gone.
#include <string>

#include "app/base_form.h"
#include "wndinfo/wnd_info.h"

namespace app {

namespace {

// The shell hosts a property sheet in a top-level window of this class.
constexpr wchar_t kHostClassMask[] = L"StubWindow32";
constexpr wchar_t kHostCaptionMask[] = L"*";
// Between two searches the handler sleeps until input arrives or this much
// time has passed, so waiting costs no CPU while messages keep flowing.
constexpr DWORD kHostPollMs = 40;

HWND FindHostWindow() { return wndinfo::FindProcessWindow(GetCurrentProcessId(), kHostClassMask, kHostCaptionMask); }

void WaitForInputOrTimeout() {
    MsgWaitForMultipleObjectsEx(0, nullptr, kHostPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace

void TBaseForm::InstallEndOfRun(bool delayed) {
    // A later command replaces whatever handler is installed.
    if (delayed) {
        FHostWaitStart = std::chrono::steady_clock::now();
        AppEvents->OnIdle = ui::TIdleEvent(this, &TBaseForm::AppEventsIdleAtEndDelay);
    } else {
        AppEvents->OnIdle = ui::TIdleEvent(this, &TBaseForm::AppEventsIdleAtEndSoon);
    }
}

void TBaseForm::AppEventsIdleAtEndSoon(ui::TObject*, bool&) { Close(); }

void TBaseForm::AppEventsIdleAtEndDelay(ui::TObject*, bool& Done) {
    HWND host = FindHostWindow();
    std::wstring line = L"StubWindow32=" + std::to_wstring(reinterpret_cast<LONG_PTR>(host));
    OutputDebugStringW(line.c_str());

    if (host) {
        // Keep the sheet responsive (it lives on this thread) until it is gone.
        auto& app = ui::Application();
        while (host && !app.Terminated()) {
            app.ProcessMessages();
            if (app.Terminated()) break;
            WaitForInputOrTimeout();
            host = FindHostWindow();
        }
    } else {
        // A property sheet that has not appeared after HostWaitLimit never
        // will (the command failed): then the run ends as after any other.
        if (!FHostWaitStart) FHostWaitStart = std::chrono::steady_clock::now();
        if (std::chrono::steady_clock::now() - *FHostWaitStart < HostWaitLimit) {
            // Not there yet: ask for another idle turn, after a short wait
            // that any message cuts short.
            WaitForInputOrTimeout();
            Done = false;
        }
    }
    if (Done) Close();
}

}  // namespace app
