#include "AutoStart.h"
#include "ScratchKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The actions run against a Run key of the test's own under HKEY_CURRENT_USER;
// the program's real entry is exercised end to end with Vantrel.exe itself.
class AutoStart : public ScratchKeyTest {
protected:
    void SetUp() override
    {
        ScratchKeyTest::SetUp();
        m_runPath = ChildPath("Run");
    }

    AutoStartEntry Entry() const { return {HKEY_CURRENT_USER, m_runPath.c_str(), "Vantrel"}; }
    HKEY RunKey() { return CreateChild("Run"); }

    std::string m_runPath;
};

TEST(AutoStartCommand, QuotesOnlyAPathThatHoldsASpace)
{
    EXPECT_EQ(AutoStartCommand("C:\\Tools\\Vantrel.exe"), "C:\\Tools\\Vantrel.exe");
    EXPECT_EQ(AutoStartCommand("C:\\Program Files\\Vantrel\\Vantrel.exe"),
        "\"C:\\Program Files\\Vantrel\\Vantrel.exe\"");
    EXPECT_EQ(AutoStartCommand("C:\\a b\\c d\\Vantrel.exe"), "\"C:\\a b\\c d\\Vantrel.exe\"");
}

TEST(AutoStartCommand, TheMachineEntryIsTheRunValueNamedVantrel)
{
    const AutoStartEntry entry = MachineAutoStartEntry();
    EXPECT_EQ(entry.root, HKEY_LOCAL_MACHINE);
    EXPECT_STREQ(entry.keyPath, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_STREQ(entry.valueName, "Vantrel");
}

TEST_F(AutoStart, InstallCreatesAMissingKeyAndWritesThePath)
{
    ASSERT_TRUE(InstallAutoStart(Entry(), "C:\\Tools\\Vantrel.exe"));
    const RawValue raw = ReadRaw("Vantrel", RunKey());
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.Text(), std::string("C:\\Tools\\Vantrel.exe", 21));
}

TEST_F(AutoStart, InstallQuotesAPathWithSpaces)
{
    ASSERT_TRUE(InstallAutoStart(Entry(), "C:\\Program Files\\Vantrel\\Vantrel.exe"));
    EXPECT_EQ(ReadRaw("Vantrel", RunKey()).Text(), std::string("\"C:\\Program Files\\Vantrel\\Vantrel.exe\"\0", 39));
}

TEST_F(AutoStart, InstallingTwiceLeavesOneValueWithTheLatestPath)
{
    HKEY run = RunKey();
    WriteText("Other", "C:\\Other\\other.exe", run);
    ASSERT_TRUE(InstallAutoStart(Entry(), "C:\\Old\\Vantrel.exe"));
    ASSERT_TRUE(InstallAutoStart(Entry(), "C:\\New\\Vantrel.exe"));
    EXPECT_EQ(ReadRaw("Vantrel", run).Text(), std::string("C:\\New\\Vantrel.exe", 19));
    EXPECT_EQ(ReadRaw("Other", run).Text(), std::string("C:\\Other\\other.exe", 19));
    DWORD valueCount = 0;
    ASSERT_EQ(RegQueryInfoKeyA(run, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr,
                  nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(valueCount, 2u);
}

TEST_F(AutoStart, InstallWithoutAWholePathWritesNothing)
{
    EXPECT_FALSE(InstallAutoStart(Entry(), ""));
    EXPECT_FALSE(Exists("Vantrel", RunKey()));
}

TEST_F(AutoStart, InstallThatTheRegistryRefusesFails)
{
    HKEY run = RunKey();
    RestrictedKeyAccess access(Root(), "Run", KEY_QUERY_VALUE);
    ASSERT_TRUE(access.Applied());
    EXPECT_FALSE(InstallAutoStart(Entry(), "C:\\Tools\\Vantrel.exe"));
    EXPECT_FALSE(Exists("Vantrel", run));
}

TEST_F(AutoStart, UninstallRemovesOnlyItsValue)
{
    HKEY run = RunKey();
    WriteText("Vantrel", "C:\\Tools\\Vantrel.exe", run);
    WriteText("Other", "C:\\Other\\other.exe", run);
    EXPECT_TRUE(UninstallAutoStart(Entry()));
    EXPECT_FALSE(Exists("Vantrel", run));
    EXPECT_EQ(ReadRaw("Other", run).Text(), std::string("C:\\Other\\other.exe", 19));
}

TEST_F(AutoStart, UninstallWithNothingToRemoveSucceedsAndChangesNothing)
{
    EXPECT_TRUE(UninstallAutoStart(Entry())) << "no key";
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, m_runPath.c_str(), 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND)
        << "uninstall must not create the key";

    HKEY run = RunKey();
    WriteText("Other", "x", run);
    EXPECT_TRUE(UninstallAutoStart(Entry())) << "no value";
    EXPECT_TRUE(Exists("Other", run));
}

TEST_F(AutoStart, UninstallRemovesTheValueWhateverItsTypeAndSize)
{
    HKEY run = RunKey();
    WriteText("Other", "C:\\Other\\other.exe", run);
    for (const ForeignValue& value : kForeignValues) {
        WriteRaw("Vantrel", value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()), run);
        EXPECT_TRUE(UninstallAutoStart(Entry())) << value.what;
        EXPECT_FALSE(Exists("Vantrel", run)) << value.what;
    }
    EXPECT_EQ(ReadRaw("Other", run).Text(), std::string("C:\\Other\\other.exe", 19));
}

TEST_F(AutoStart, UninstallThatTheRegistryRefusesFails)
{
    HKEY run = RunKey();
    WriteText("Vantrel", "C:\\Tools\\Vantrel.exe", run);
    RestrictedKeyAccess access(Root(), "Run", KEY_QUERY_VALUE);
    ASSERT_TRUE(access.Applied());
    EXPECT_FALSE(UninstallAutoStart(Entry()));
    EXPECT_TRUE(Exists("Vantrel", run));
}

} // namespace
