// Loss of activation: a window on another thread of this process is the
// shell working for us (a property sheet, a progress dialog), not another
// program; a window of another process is.
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace ui_test {
namespace {

using ui::Application;

struct HandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct Deactivations : ui::TObject {
    int count = 0;
    void Deactivate(ui::TObject*) { ++count; }
};

// A shown form that records the lParam of every WM_ACTIVATEAPP(FALSE).
struct ActiveForm {
    ActiveForm() {
        form.BorderStyle = ui::TBorderStyle::None;
        form.DesignLeft = 600;
        form.DesignTop = 400;
        form.DesignClientWidth = 150;
        form.DesignClientHeight = 100;
        form.hook = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
            if (msg == WM_ACTIVATEAPP && !wp) lossThreads.push_back(static_cast<DWORD>(lp));
            return false;
        };
        form.CreateHandle();
        form.Show();
        SetForegroundWindow(form.Handle());
    }
    // The window manager acts in its own time: a generous bound.
    bool Activated() {
        return PumpUntil([&] { return GetForegroundWindow() == form.Handle() && Application().Active(); }, 15000);
    }
    // Before the form: destroying the active window moves activation, and
    // the form's hook still records that loss.
    std::vector<DWORD> lossThreads;
    TestForm form;
};

// A second thread of this process with a window of its own, as the shell's
// property sheets and progress dialogs have. The window stays hidden: the
// tests tell the program who took activation through WM_ACTIVATEAPP itself,
// instead of waiting for a window manager to pass the focus on (which it does
// in its own time, and not always within seconds on a busy machine).
class OurOtherThread {
public:
    OurOtherThread() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this] { Main(); });
        WaitForSingleObject(ready_.get(), 10'000);
    }
    ~OurOtherThread() {
        PostThreadMessageW(id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    DWORD Id() const { return id_; }
    HWND Window() const { return wnd_; }

private:
    void Main() {
        id_ = GetCurrentThreadId();
        WNDCLASSEXW wc = {sizeof(wc)};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuinceShellThreadWindow";
        RegisterClassExW(&wc);
        wnd_ = CreateWindowExW(0, wc.lpszClassName, L"progress", WS_POPUP | WS_BORDER, 100, 100, 200, 120, nullptr,
                               nullptr, wc.hInstance, nullptr);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the test posts WM_QUIT
        SetEvent(ready_.get());
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(wnd_);
    }
    Handle ready_;
    std::thread thread_;
    DWORD id_ = 0;
    HWND wnd_ = nullptr;
};

std::wstring HelperPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    result.erase(result.find_last_of(L"\\/") + 1);
    return result + L"ui_other_program.exe";
}

// Another program whose window takes activation (ui_other_program.exe,
// built beside this exe).
class OtherProgram {
public:
    OtherProgram() {
        const std::wstring eventName = L"Local\\QuinceOtherProgram-" + std::to_wstring(GetCurrentProcessId());
        Handle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        std::wstring commandLine = L"\"" + HelperPath() + L"\" \"" + eventName + L"\"";
        STARTUPINFOW si = {sizeof(si)};
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "cannot start the helper, error " << GetLastError();
            return;
        }
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
        threadId_ = pi.dwThreadId;
        HANDLE waits[2] = {ready.get(), process_.get()};
        // Our own messages keep flowing while it starts (activation reaches
        // us as sent messages).
        DWORD r = WAIT_TIMEOUT;
        const ULONGLONG end = GetTickCount64() + 20'000;
        while (GetTickCount64() < end) {
            r = MsgWaitForMultipleObjects(2, waits, FALSE, 50, QS_ALLINPUT);
            if (r == WAIT_OBJECT_0 || r == WAIT_OBJECT_0 + 1) break;
            Application().ProcessMessages();
        }
        started_ = r == WAIT_OBJECT_0;
    }
    ~OtherProgram() {
        if (!process_) return;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        if (WaitForSingleObject(process_.get(), 10'000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
    }
    bool Started() const { return started_; }
    DWORD ThreadId() const { return threadId_; }

private:
    Handle process_;
    DWORD threadId_ = 0;
    bool started_ = false;
};

class ActivationTest : public testing::Test {
protected:
    void SetUp() override {
        Reports().clear();
        events.OnDeactivate = {&seen, &Deactivations::Deactivate};
    }
    // Long enough for a loss to count, several times over.
    static void WaitPastGrace() { Settle(4 * ui::TApplication::kDeactivateGraceMs); }

    Deactivations seen;
    ui::TApplicationEvents events;
};

TEST_F(ActivationTest, ThreadsOfThisProcessAreToldApart) {
    EXPECT_TRUE(ui::TApplication::IsThreadOfThisProcess(GetCurrentThreadId()));
    // A thread that is still running, as the shell's are.
    Handle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<DWORD> running{0};
    std::thread t([&] {
        running = GetCurrentThreadId();
        WaitForSingleObject(go.get(), 10'000);
    });
    while (!running) Sleep(1);
    EXPECT_TRUE(ui::TApplication::IsThreadOfThisProcess(running));
    SetEvent(go.get());
    t.join();
    EXPECT_FALSE(ui::TApplication::IsThreadOfThisProcess(0));
    OtherProgram program;
    ASSERT_TRUE(program.Started());
    EXPECT_FALSE(ui::TApplication::IsThreadOfThisProcess(program.ThreadId()));
}

TEST_F(ActivationTest, LossTellsWhoGetsActivation) {
    TestForm form;
    form.CreateHandle();
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    OurOtherThread ours;
    // To a thread of ours: no loss, however long it lasts.
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(ours.Id()));
    EXPECT_TRUE(Application().Active());
    WaitPastGrace();
    EXPECT_EQ(seen.count, 0);
    // To another program's thread, or to nobody we know of (0): a loss.
    OtherProgram program;
    ASSERT_TRUE(program.Started());
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(program.ThreadId()));
    EXPECT_TRUE(PumpUntil([&] { return seen.count == 1; }));
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(PumpUntil([&] { return seen.count == 2; }));
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
}

TEST_F(ActivationTest, WindowOfAnotherThreadOfOursTakingActivationIsNoLoss) {
    ActiveForm ours;
    ASSERT_TRUE(ours.Activated());
    OurOtherThread shellThread;
    // Windows names the thread that took activation.
    SendMessageW(ours.form.Handle(), WM_ACTIVATEAPP, FALSE, static_cast<LPARAM>(shellThread.Id()));
    WaitPastGrace();
    EXPECT_EQ(seen.count, 0);
    EXPECT_TRUE(Application().Active());
    // Wine with a window manager names none (0), since the X focus passes
    // through nobody; a window of this process holding the foreground once
    // the grace is over makes it no loss either.
    SendMessageW(ours.form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(Application().Active());
    WaitPastGrace();
    ASSERT_EQ(GetForegroundWindow(), ours.form.Handle());
    EXPECT_EQ(seen.count, 0);
    EXPECT_TRUE(Application().Active());
    EXPECT_EQ(ours.lossThreads, (std::vector<DWORD>{shellThread.Id(), 0}));
}

TEST_F(ActivationTest, WindowOfAnotherProgramTakingActivationIsALoss) {
    ActiveForm ours;
    ASSERT_TRUE(ours.Activated());
    OtherProgram program;
    ASSERT_TRUE(program.Started());
    // Here the window manager must move the focus: a generous bound.
    EXPECT_TRUE(PumpUntil([&] { return seen.count == 1; }, 15000));
    ASSERT_FALSE(ours.lossThreads.empty());
    EXPECT_FALSE(ui::TApplication::IsThreadOfThisProcess(ours.lossThreads.back()));
    EXPECT_FALSE(Application().Active());
}

}  // namespace
}  // namespace ui_test
