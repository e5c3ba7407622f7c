// The application class and the framework's entry point, observed from
// outside: a small program built on them runs as a child process and reports
// through its exit status (see AppChild.cpp).

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs the child program with the given arguments and returns its exit
// status, or -1 if it could not start or did not end in time (it is then
// stopped).
int RunChild(const std::string& arguments)
{
    const std::string program = testing_support::ModuleDirectory() + "framework_app_child.exe";
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
            &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &status);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
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
