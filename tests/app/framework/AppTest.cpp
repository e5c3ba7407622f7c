// The application class and the framework's entry point, observed from
// outside: a small program built on them runs as a child process and reports
// through its exit status (see AppChild.cpp).

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The child's exit status, or -1 if it did not start or end in time.
int RunChild(const std::string& arguments)
{
    const std::string program = testing_support::ModuleDirectory() + "framework_app_child.exe";
    return testing_support::RunProgram(program, arguments, 30000);
}

TEST(AppTest, InitInstanceRunsOnceAndFalseEndsTheProcessWithoutAMessageLoop)
{
    // 40: everything held; 100 and more: see the failure bits in AppChild.cpp.
    EXPECT_EQ(40, RunChild(""));
}

TEST(AppTest, ApplicationSetsTheExitStatus)
{
    EXPECT_EQ(5, RunChild("status"));
}

TEST(AppTest, TrueEntersTheMessageLoopUntilQuit)
{
    EXPECT_EQ(23, RunChild("run"));
}

} // namespace
