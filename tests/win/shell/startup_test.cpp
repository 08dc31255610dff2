// Start-up and shutdown of the shell layer, the Windows version, errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "shell/windows_version.h"
#include "test_support.h"

using namespace shell;

TEST(ShellStartup, ObjectsLiveBetweenStartupAndShutdown) {
    ASSERT_NE(DesktopFolder, nullptr);
    ShellShutdown();
    EXPECT_EQ(DesktopFolder, nullptr);
    EXPECT_EQ(shell::ShellLibrary, nullptr);
    ASSERT_NO_THROW(ShellStartup());
    EXPECT_NE(DesktopFolder, nullptr);
}

// The library object is optional: Wine registers no class for it, and the
// program must start all the same.
TEST(ShellStartup, ShellLibraryExactlyWhenTheClassExists) {
    Microsoft::WRL::ComPtr<IShellLibrary> probe;
    const HRESULT hr =
        CoCreateInstance(CLSID_ShellLibrary, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&probe));
    const bool expected = SUCCEEDED(hr) && GetWindowsVersion().AtLeast(6, 1);
    EXPECT_EQ(shell::ShellLibrary != nullptr, expected) << std::hex << hr;
    if (!shell::ShellLibrary) {
        Microsoft::WRL::ComPtr<IShellItem> desktop;
        ASSERT_HRESULT_SUCCEEDED(SHGetKnownFolderItem(FOLDERID_Desktop, KF_FLAG_DEFAULT, nullptr,
                                                      IID_PPV_ARGS(&desktop)));
        EXPECT_FALSE(IsShellLibrary(desktop.Get()));
    }
}

// After start-up a DLL is no longer found by bare name in the current
// directory (a planted DLL there would otherwise be loaded).
TEST(ShellStartup, CurrentDirectoryLeavesDllSearch) {
    wchar_t exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    const std::filesystem::path probe = std::filesystem::path(exe).parent_path() / L"shell_probe.dll";
    ASSERT_TRUE(std::filesystem::exists(probe));

    shell_test::TempTree tree;
    const std::wstring planted = tree.Path(L"quince_planted_probe.dll");
    ASSERT_TRUE(CopyFileW(probe.c_str(), planted.c_str(), TRUE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(tree.root().c_str()));
    HMODULE byName = LoadLibraryW(L"quince_planted_probe.dll");
    const DWORD error = GetLastError();
    SetCurrentDirectoryW(previous);
    if (byName != nullptr) FreeLibrary(byName);
    EXPECT_EQ(byName, nullptr);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // The copy itself is loadable, so the refusal above is the search order's.
    HMODULE byPath = LoadLibraryW(planted.c_str());
    EXPECT_NE(byPath, nullptr);
    if (byPath != nullptr) FreeLibrary(byPath);
}

TEST(WindowsVersion, RealVersionIsCached) {
    const WindowsVersion& version = GetWindowsVersion();
    EXPECT_GE(version.major, 6u);
    EXPECT_GT(version.build, 0u);
    EXPECT_EQ(&GetWindowsVersion(), &version);
    EXPECT_TRUE(version.AtLeast(version.major, version.minor, version.build));
    EXPECT_FALSE(version.AtLeast(version.major, version.minor + 1));
    EXPECT_TRUE(version.AtLeast(version.major - 1, 99));
    std::cout << "[ measured ] Windows " << version.major << '.' << version.minor << '.' << version.build << '\n';
}

TEST(ShellErrorText, SaysWhatFailedInJapaneseThenTheSystemTextAndCode) {
    const HRESULT notFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    const ShellError missing(notFound, L"PathToPidl", Failure::OpenFolder, L"C:\\x y");
    const std::wstring system = SystemMessage(notFound);
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(missing.Message(),
              L"フォルダー \"C:\\x y\" を開けません。\n\n" + system + L"\n(PathToPidl 0x80070002)");
    EXPECT_EQ(missing.Result(), notFound);
    EXPECT_EQ(missing.What(), Failure::OpenFolder);

    // A code the system has no text for still reads cleanly.
    const ShellError unknown(static_cast<HRESULT>(0xA1B2C3D4), L"SHGetDesktopFolder", Failure::StartShell);
    EXPECT_EQ(unknown.Message(), L"シェルを開始できません。\n\n(SHGetDesktopFolder 0xA1B2C3D4)");
}

TEST(ShellErrorText, CheckHrRaisesOnlyFailures) {
    EXPECT_NO_THROW(CheckHr(S_OK, L"op", Failure::ReadFolder));
    EXPECT_NO_THROW(CheckHr(S_FALSE, L"op", Failure::ReadFolder));
    try {
        CheckHr(E_ACCESSDENIED, L"op", Failure::ReadFolder, L"arg");
        FAIL() << "no error raised";
    } catch (const ShellError& e) {
        EXPECT_EQ(e.Result(), E_ACCESSDENIED);
        EXPECT_FALSE(SystemMessage(E_ACCESSDENIED).empty());
        EXPECT_NE(e.Message().find(SystemMessage(E_ACCESSDENIED)), std::wstring::npos);
    }
}
