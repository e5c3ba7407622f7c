// The program without its filter library next to it: the mode is still held
// and stored, nothing else changes, and a library of that name in the current
// directory is never taken instead.

#include "MenuReader.h"
#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "RealInput.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

constexpr DWORD kStoreTimeoutMs = 5000;

class FilterLibraryTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_programFolder.Path().empty());
        ASSERT_FALSE(m_currentFolder.Path().empty());
        ASSERT_TRUE(m_programFolder.CopyIn(BuiltProgramPath(), kProgramFileName));
    }

    // Started in m_currentFolder: the test's own current directory is bin/,
    // which holds the library.
    LaunchOptions LoneProgram() const
    {
        return LaunchOptions{m_programFolder.Path() + kProgramFileName, "", m_currentFolder.Path()};
    }

    bool LoadedTheFilterLibrary() const
    {
        const std::vector<std::string> modules = LoadedModuleNames(m_program.Id());
        return std::any_of(modules.begin(), modules.end(),
            [](const std::string& name) { return lstrcmpiA(name.c_str(), kFilterLibraryFileName) == 0; });
    }

    // The program alone in its folder: no VantrelDll.dll beside it.
    ScratchFolder m_programFolder;
    // A folder to run the program in. Members end after TearDown, which ends
    // the program, so the folders are never in use when they are deleted.
    ScratchFolder m_currentFolder;
};

// A text-mode C runtime writes "\n" to a file as "\r\n": either ends a line.
bool HasLine(const std::string& output, const std::string& line)
{
    for (size_t at = output.find(line); at != std::string::npos; at = output.find(line, at + 1)) {
        const size_t end = at + line.size();
        const bool startsLine = at == 0 || output[at - 1] == '\n';
        if (startsLine && (output.compare(end, 1, "\n") == 0 || output.compare(end, 2, "\r\n") == 0))
            return true;
    }
    return false;
}

TEST_F(FilterLibraryTest, WithoutTheLibraryOneIsStillStoredAndCheckedButNothingElseChanges)
{
    ASSERT_TRUE(Start(kFirstIconId, LoneProgram()));

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs)) << "the choice must be stored all the same";
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId)) << "the icons stay as they were";
    EXPECT_EQ(IconTooltip(), kFirstTooltip);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "no filter can run";
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), true, false));
    EXPECT_TRUE(HasLine(m_program.Output(), "LoadLibrary failed")) << "standard output: " << m_program.Output();
}

TEST_F(FilterLibraryTest, WithoutTheLibraryAStoredOneKeepsTheFirstIcon)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kFirstIconId, LoneProgram()));

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), true, false));
}

TEST_F(FilterLibraryTest, ALibraryPlantedInTheCurrentDirectoryIsNotLoaded)
{
    ASSERT_TRUE(m_currentFolder.CopyIn(BuiltLibraryPath(), kFilterLibraryFileName));
    ASSERT_TRUE(Start(kFirstIconId, LoneProgram()));

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs));
    EXPECT_FALSE(LoadedTheFilterLibrary()) << "the program loaded " << kFilterLibraryFileName
                                           << " from its current directory";
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
}

TEST_F(FilterLibraryTest, TheLibraryBesideTheProgramIsTheOneLoaded)
{
    ASSERT_TRUE(m_programFolder.CopyIn(BuiltLibraryPath(), kFilterLibraryFileName));
    ASSERT_TRUE(Start(kFirstIconId, LoneProgram()));

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs));
    EXPECT_TRUE(LoadedTheFilterLibrary());
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

} // namespace
} // namespace e2e
