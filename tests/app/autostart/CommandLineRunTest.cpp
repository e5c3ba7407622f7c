// Vantrel.exe started with each kind of command line: the install and
// uninstall runs end at once, show nothing and report through the exit
// status; everything else runs the main window.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "ScratchFolder.h"
#include "ScratchKey.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "Vantrel";
// The first Wine process after a terminated one may start about 2 s late.
constexpr DWORD kActionTimeoutMs = 20000;

// The Run key in the view where the program writes (e2e::kProgramsOwnView).
std::optional<std::string> ReadRunValue(const char* name = kRunValueName)
{
    const std::optional<e2e::RegistryData> data =
        e2e::ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, name, e2e::kProgramsOwnView);
    if (!data)
        return std::nullopt;
    EXPECT_EQ(data->type, static_cast<DWORD>(REG_SZ)) << name;
    return data->Text();
}

void WriteRunValue(const char* name, const std::string& text)
{
    e2e::RegistryData data{REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
    data.bytes.push_back(0);
    ASSERT_TRUE(e2e::WriteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, name, data, e2e::kProgramsOwnView));
}

void DeleteRunValue(const char* name)
{
    e2e::DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, name, e2e::kProgramsOwnView);
}

// Every value of the Run key, by name: its type and exactly its bytes.
using RunValues = std::map<std::string, std::pair<DWORD, std::vector<BYTE>>>;

RunValues ReadAllRunValues()
{
    RunValues values;
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, KEY_QUERY_VALUE | e2e::kProgramsOwnView, &run) !=
        ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        std::vector<BYTE> data(65536);
        DWORD dataSize = static_cast<DWORD>(data.size());
        if (RegEnumValueA(run, index, name, &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            break;
        data.resize(dataSize);
        values[std::string(name, nameSize)] = {type, data};
    }
    RegCloseKey(run);
    return values;
}

class CommandLineRun : public e2e::ProgramTest {
protected:
    void SetUp() override
    {
        m_savedRunValue = ReadRunValue();
        DeleteRunValue(kRunValueName);
        DeleteRunValue(kNeighbour);
    }

    void TearDown() override
    {
        e2e::ProgramTest::TearDown();
        DeleteRunValue(kRunValueName);
        DeleteRunValue(kNeighbour);
        if (m_savedRunValue)
            WriteRunValue(kRunValueName, *m_savedRunValue);
    }

    struct ActionRun {
        bool ended = false;
        DWORD exitCode = STILL_ACTIVE;
        bool showedWindow = false;
        bool showedIcon = false;
    };

    // Runs the program with these arguments, expecting it to end by itself,
    // and watches meanwhile for any visible window or notification icon.
    ActionRun RunAction(const std::string& arguments, const std::string& programPath = {})
    {
        ActionRun run;
        const int iconsBefore = e2e::ShownIconCount();
        e2e::ProgramProcess program = e2e::ProgramProcess::Launch(
            {programPath.empty() ? BuiltProgramPath() : programPath, arguments, ""});
        if (!program.IsStarted())
            return run;
        run.ended = testing_support::PumpMessagesUntil(
            [&] {
                for (HWND window : e2e::TopLevelWindowsOf(program.Id()))
                    run.showedWindow = run.showedWindow || IsWindowVisible(window);
                run.showedIcon = run.showedIcon || e2e::ShownIconCount() > iconsBefore;
                return !program.IsRunning();
            },
            kActionTimeoutMs);
        GetExitCodeProcess(program.Handle(), &run.exitCode);
        if (!run.ended)
            program.Stop();
        return run;
    }

    void ExpectQuietSuccess(const ActionRun& run, const std::string& what)
    {
        EXPECT_TRUE(run.ended) << what << ": the program did not end by itself";
        EXPECT_EQ(run.exitCode, 0u) << what;
        EXPECT_FALSE(run.showedWindow) << what << ": a window was shown";
        EXPECT_FALSE(run.showedIcon) << what << ": an icon was shown";
    }

    static constexpr char kNeighbour[] = "VantrelTestNeighbour";
    std::optional<std::string> m_savedRunValue;
};

TEST_F(CommandLineRun, EverySpellingOfInstallWritesThePathAndEndsQuietly)
{
    for (const char* arguments : {"/INSTALL", "-INSTALL", "/install", "-Install", "/iNsTaLl"}) {
        DeleteRunValue(kRunValueName);
        ExpectQuietSuccess(RunAction(arguments), arguments);
        EXPECT_EQ(ReadRunValue(), BuiltProgramPath()) << arguments;
    }
}

TEST_F(CommandLineRun, EverySpellingOfUninstallRemovesOnlyItsValue)
{
    WriteRunValue(kNeighbour, "C:\\Other\\other.exe");
    for (const char* arguments : {"/UNINSTALL", "-UNINSTALL", "/uninstall", "-UnInstall"}) {
        WriteRunValue(kRunValueName, "C:\\Somewhere\\Vantrel.exe");
        ExpectQuietSuccess(RunAction(arguments), arguments);
        EXPECT_EQ(ReadRunValue(), std::nullopt) << arguments;
        EXPECT_EQ(ReadRunValue(kNeighbour), "C:\\Other\\other.exe") << arguments;
    }
}

TEST_F(CommandLineRun, UninstallWithNothingToRemoveSucceeds)
{
    ExpectQuietSuccess(RunAction("/UNINSTALL"), "/UNINSTALL without a value");
    EXPECT_EQ(ReadRunValue(), std::nullopt);
}

TEST_F(CommandLineRun, InstallLeavesOtherRunValuesAlone)
{
    WriteRunValue(kNeighbour, "C:\\Other\\other.exe");
    WriteRunValue(kRunValueName, "C:\\Old\\Vantrel.exe");
    ExpectQuietSuccess(RunAction("/INSTALL"), "/INSTALL");
    EXPECT_EQ(ReadRunValue(), BuiltProgramPath());
    EXPECT_EQ(ReadRunValue(kNeighbour), "C:\\Other\\other.exe");
}

TEST_F(CommandLineRun, TheFirstRecognisedFlagDecides)
{
    WriteRunValue(kRunValueName, "C:\\Old\\Vantrel.exe");
    ExpectQuietSuccess(RunAction("/UNINSTALL /INSTALL"), "uninstall first");
    EXPECT_EQ(ReadRunValue(), std::nullopt);

    ExpectQuietSuccess(RunAction("-INSTALL -UNINSTALL"), "install first");
    EXPECT_EQ(ReadRunValue(), BuiltProgramPath());

    DeleteRunValue(kRunValueName);
    ExpectQuietSuccess(RunAction("hello /other /INSTALL"), "words before the flag");
    EXPECT_EQ(ReadRunValue(), BuiltProgramPath());
}

TEST_F(CommandLineRun, AProgramInAFolderWithASpaceIsRegisteredQuoted)
{
    e2e::ScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string spaced = folder.Path() + "Program Files\\";
    ASSERT_TRUE(CreateDirectoryA(spaced.c_str(), nullptr));
    const std::string program = spaced + "Vantrel.exe";
    ASSERT_TRUE(CopyFileA(BuiltProgramPath().c_str(), program.c_str(), FALSE));

    ExpectQuietSuccess(RunAction("/INSTALL", program), "/INSTALL from a folder with a space");
    EXPECT_EQ(ReadRunValue(), "\"" + program + "\"");

    ExpectQuietSuccess(RunAction("/UNINSTALL", program), "/UNINSTALL from a folder with a space");
    DeleteFileA(program.c_str());
    RemoveDirectoryA(spaced.c_str());
}

TEST_F(CommandLineRun, ARunKeyThatRefusesWritesGivesAFailureStatus)
{
    WriteRunValue(kRunValueName, "C:\\Old\\Vantrel.exe");
    {
        HKEY runKey = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, READ_CONTROL | e2e::kProgramsOwnView, &runKey),
            ERROR_SUCCESS);
        RestrictedKeyAccess readOnly(runKey, "", KEY_QUERY_VALUE);
        RegCloseKey(runKey);
        ASSERT_TRUE(readOnly.Applied());

        for (const char* arguments : {"/INSTALL", "/UNINSTALL"}) {
            const ActionRun run = RunAction(arguments);
            EXPECT_TRUE(run.ended) << arguments;
            EXPECT_NE(run.exitCode, 0u) << arguments << " that changed nothing must not report success";
            EXPECT_FALSE(run.showedWindow) << arguments;
        }
    }
    EXPECT_EQ(ReadRunValue(), "C:\\Old\\Vantrel.exe");
}

class UninstallOfAForeignValue : public CommandLineRun, public ::testing::WithParamInterface<ForeignValue> {};

TEST_P(UninstallOfAForeignValue, RemovesItAndOnlyIt)
{
    const ForeignValue& value = GetParam();
    WriteRunValue(kNeighbour, "C:\\Other\\other.exe");
    const RunValues before = ReadAllRunValues();
    const e2e::RegistryData data{value.type, std::vector<BYTE>(value.bytes.begin(), value.bytes.end())};
    ASSERT_TRUE(e2e::WriteRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName, data, e2e::kProgramsOwnView));

    ExpectQuietSuccess(RunAction("/UNINSTALL"), value.what);

    EXPECT_FALSE(e2e::ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName, e2e::kProgramsOwnView))
        << value.what << " is still there";
    EXPECT_EQ(ReadAllRunValues(), before) << "another Run value changed";
}

INSTANTIATE_TEST_SUITE_P(Types, UninstallOfAForeignValue, ::testing::ValuesIn(kForeignValues),
    [](const ::testing::TestParamInfo<ForeignValue>& param) { return std::string(param.param.what); });

// Forms that are not a recognised flag run the main window and touch no Run value.
class UnrecognisedCommandLine : public CommandLineRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnrecognisedCommandLine, RunsTheMainWindow)
{
    WriteRunValue(kRunValueName, "C:\\Old\\Vantrel.exe");
    ASSERT_TRUE(Start(e2e::kFirstIconId, {BuiltProgramPath(), GetParam(), ""})) << GetParam();
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_EQ(ReadRunValue(), "C:\\Old\\Vantrel.exe");
}

INSTANTIATE_TEST_SUITE_P(Forms, UnrecognisedCommandLine,
    ::testing::Values("", "INSTALL", "/INSTALLX", "/INSTAL", "/INSTALL\t/UNINSTALL", "//INSTALL", "/ INSTALL"));

} // namespace
