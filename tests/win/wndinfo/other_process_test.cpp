// The finder keeps to the process it is asked about: a matching window of a
// helper process (wndinfo_stub_window.exe, built beside this exe).
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "test_windows.h"
#include "wndinfo/wnd_info.h"

namespace wndinfo_test {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::wstring HelperPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    result.erase(result.find_last_of(L"\\/") + 1);
    return result + L"wndinfo_stub_window.exe";
}

// The helper process with one window of the given class and caption. Asked to
// quit on destruction, and killed if it does not.
class HelperProcess {
public:
    HelperProcess() = default;
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Returns once the helper's window exists.
    void Start(const std::wstring& className, const std::wstring& caption) {
        const std::wstring eventName = L"Local\\QuinceWndInfoTest-" + std::to_wstring(GetCurrentProcessId());
        Handle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        ASSERT_TRUE(ready);
        const std::wstring exe = HelperPath();
        std::wstring commandLine =
            L"\"" + exe + L"\" \"" + eventName + L"\" \"" + className + L"\" \"" + caption + L"\"";
        STARTUPINFOW si = {sizeof(si)};
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            << "cannot start the helper, error " << GetLastError();
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
        pid_ = pi.dwProcessId;
        threadId_ = pi.dwThreadId;
        HANDLE waits[2] = {ready.get(), process_.get()};
        ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 20'000), WAIT_OBJECT_0) << "helper did not get ready";
    }

    ~HelperProcess() {
        if (!process_) return;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        if (WaitForSingleObject(process_.get(), 10'000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "helper did not quit";
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), 10'000);
        }
    }

    DWORD Pid() const { return pid_; }

private:
    Handle process_;
    DWORD pid_ = 0;
    DWORD threadId_ = 0;
};

TEST(FindProcessWindow, KeepsToTheGivenProcess) {
    // Longer than 260 characters: another process's caption is read without
    // a WM_GETTEXT of ours, and must be cut all the same.
    const std::wstring caption = std::wstring(259, L'p') + L'E' + std::wstring(40, L'q');
    HelperProcess helper;
    ASSERT_NO_FATAL_FAILURE(helper.Start(L"StubWindow32", caption));

    EXPECT_EQ(wndinfo::FindProcessWindow(GetCurrentProcessId(), L"StubWindow32", L"*"), nullptr);

    const HWND theirs = wndinfo::FindProcessWindow(helper.Pid(), L"StubWindow32", L"*E");
    ASSERT_NE(theirs, nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(theirs, &owner);
    EXPECT_EQ(owner, helper.Pid());
    EXPECT_EQ(wndinfo::GetWindowClass(theirs), L"StubWindow32");
    EXPECT_EQ(wndinfo::GetWindowCaption(theirs), caption.substr(0, 260));
    EXPECT_EQ(wndinfo::FindProcessWindow(helper.Pid(), L"StubWindow32", L"*q"), nullptr);

    // The same class and caption in this process: each process finds its own.
    WindowClass cls(L"StubWindow32");
    Window ours = MakeWindow(cls, caption);
    EXPECT_EQ(wndinfo::FindProcessWindow(GetCurrentProcessId(), L"StubWindow32", L"*E"), ours.get());
    EXPECT_EQ(wndinfo::FindProcessWindow(helper.Pid(), L"StubWindow32", L"*E"), theirs);
}

}  // namespace
}  // namespace wndinfo_test
