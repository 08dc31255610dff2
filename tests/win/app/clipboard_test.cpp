// Files copied with the "copy" verb can still be pasted after the run has
// ended: the end of the run leaves the clipboard's data rendered, not tied
// to a data object that dies with the process.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::wstring BesideThisExe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    result.erase(result.find_last_of(L"\\/") + 1);
    return result + name;
}

// Runs the helper to its end; its exit code, or -1.
int RunCopyHelper(const std::wstring& file, bool abrupt) {
    std::wstring commandLine = L"\"" + BesideThisExe(L"app_copy_verb.exe") + L"\" \"" + file + L"\"";
    if (abrupt) commandLine += L" --abrupt";
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    Handle process(pi.hProcess);
    CloseHandle(pi.hThread);
    if (WaitForSingleObject(process.get(), 60'000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 99);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

bool EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return false;
    const bool ok = EmptyClipboard() != FALSE;
    CloseClipboard();
    return ok;
}

// The files of the clipboard's CF_HDROP, as another program pasting sees them.
std::vector<std::wstring> DroppedFiles() {
    std::vector<std::wstring> files;
    if (!OpenClipboard(nullptr)) return files;
    if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            DragQueryFileW(drop, i, name, MAX_PATH);
            files.emplace_back(name);
        }
    }
    CloseClipboard();
    return files;
}

class ClipboardAfterTheRun : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        dir = std::wstring(temp) + L"quince-clip-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir.c_str(), nullptr);
        file = dir + L"\\コピー & paste.txt";
        Handle h(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_NE(h.get(), INVALID_HANDLE_VALUE);
        ASSERT_TRUE(EmptyTheClipboard());
    }
    void TearDown() override {
        EmptyTheClipboard();
        DeleteFileW(file.c_str());
        RemoveDirectoryW(dir.c_str());
    }
    std::wstring dir, file;
};

TEST_F(ClipboardAfterTheRun, CopiedFileCanBePastedAfterTheProgramHasEnded) {
    ASSERT_EQ(RunCopyHelper(file, false), 0);
    auto files = DroppedFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(CompareStringOrdinal(files[0].c_str(), -1, file.c_str(), -1, TRUE), CSTR_EQUAL)
        << "clipboard holds a different path";
}

TEST_F(ClipboardAfterTheRun, WithoutTheEndOfTheRunTheCopyDiesWithTheProcess) {
    // What the end of the run guards against: the shell's data object lives
    // in the process that copied.
    ASSERT_EQ(RunCopyHelper(file, true), 0);
    EXPECT_TRUE(DroppedFiles().empty());
}

}  // namespace
