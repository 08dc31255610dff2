// The shell layer is started once for the whole test run, as the program
// does before its first window.
#include <gtest/gtest.h>

#include "shell/shell_utils.h"

namespace {

class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NO_THROW(shell::ShellStartup()); }
    void TearDown() override { shell::ShellShutdown(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
