// The shell layer, the application object, a base window and a folder tree
// are set up once for the run, in the order the program itself starts.
#include <gtest/gtest.h>

#include "folder_test_support.h"
#include "shell/shell_utils.h"
#include "ui/application.h"

namespace folder_test {
namespace {

std::unique_ptr<TTestBaseForm> g_base;
std::unique_ptr<shell_test::TempTree> g_tree;
std::vector<std::wstring> g_errors;

class FolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_NO_THROW(shell::ShellStartup());
        ui::Application().Initialize();
        // An error escaping a handler must not stop the run on a message box.
        ui::Application().OnException = [](const std::wstring& text) { g_errors.push_back(text); };
        // A child shows at once, listed on its thread, however busy the
        // machine: the tests of a slow listing set their own wait.
        folder::TFolderForm::ChildListWaitMs = INFINITE;
        g_base = std::make_unique<TTestBaseForm>();
        g_base->CreateHandle();

        g_tree = std::make_unique<shell_test::TempTree>();
        g_tree->AddFolder(L"a");
        g_tree->AddFile(L"a\\b.txt");
        g_tree->AddFile(L"a\\c.txt");
        g_tree->AddFolder(L"a\\sub");
        g_tree->AddFile(L"a\\sub\\inner.txt");
        g_tree->AddFolder(L"a\\sub\\deep");
        g_tree->AddFile(L"a\\sub\\deep\\leaf.txt");
        g_tree->AddFolder(L"empty");
        g_tree->AddFile(L"top.txt");
    }
    void TearDown() override {
        g_tree.reset();
        g_base.reset();
        shell::ShellShutdown();
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new FolderEnvironment);

}  // namespace

TTestBaseForm& Base() { return *g_base; }
const shell_test::TempTree& Tree() { return *g_tree; }
std::vector<std::wstring>& ReportedErrors() { return g_errors; }

}  // namespace folder_test
