// The Windows Installer package of this build (x64 or x86), installed,
// started, upgraded and removed as an administrator would, in the test
// session's Wine prefix. Whatever a test leaves installed is removed after it.
// The x86 package goes where it goes on 64-bit Windows: "Program Files (x86)"
// and the 32-bit registry view, which its 32-bit test process sees as its own.

#include "MenuReader.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "WindowsInstaller.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

namespace e2e {
namespace {

// msiexec takes 3 to 5 s here; a loaded machine several times that.
constexpr DWORD kMsiexecTimeoutMs = 120000;
constexpr DWORD kActionTimeoutMs = 20000;
// Windows Installer's "fatal error during installation", as a refused
// downgrade ends.
constexpr int kInstallFailure = 1603;

constexpr char kProductName[] = "Vantrel";
constexpr char kPublisher[] = "The Vantrel developers";
constexpr char kVersion[] = "1.0.0";
constexpr char kHigherVersion[] = "1.0.1";
// Where the package of this build lands on 64-bit Windows.
constexpr const char* kInstalledProgram = sizeof(void*) == 4 ? "C:\\Program Files (x86)\\Vantrel\\Vantrel.exe"
                                                             : "C:\\Program Files\\Vantrel\\Vantrel.exe";

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

class PackageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(m_package)) << m_package;
        ASSERT_TRUE(FileExists(m_higherPackage)) << m_higherPackage;
        // A run that was killed may have left the product installed.
        RemoveInstalledProducts();
        ASSERT_TRUE(UninstallEntriesNamed(kProductName).empty()) << "Vantrel stays installed before the test";
        m_savedRunValue = ReadMachineRunValue(kProgramsOwnView);
    }

    void TearDown() override
    {
        ProgramTest::TearDown();
        RemoveInstalledProducts();
        RestoreRunValue();
    }

    static void RemoveInstalledProducts()
    {
        // Windows Installer's entries are named by the product code.
        for (const UninstallEntry& entry : UninstallEntriesNamed(kProductName))
            RunMsiexec("/x " + entry.keyName + " /qn", kMsiexecTimeoutMs);
    }

    int Install(const std::string& package) const
    {
        return RunMsiexec("/i " + Quoted(package) + " /qn", kMsiexecTimeoutMs);
    }

    int Uninstall(const std::string& package) const
    {
        return RunMsiexec("/x " + Quoted(package) + " /qn", kMsiexecTimeoutMs);
    }

    // Runs the installed program with a flag that ends it at once.
    int RunInstalled(const std::string& arguments) const
    {
        return testing_support::RunProgram(kInstalledProgram, arguments, kActionTimeoutMs);
    }

    std::string InstallFolder() const
    {
        return KnownFolder(CSIDL_PROGRAM_FILES) + "\\Vantrel\\";
    }

    // Windows puts a per-machine package's Start menu shortcut in the menu of
    // all users; Wine's msiexec puts it in the installing user's, whatever
    // ALLUSERS says. Either place counts here; the package's tables are
    // checked for the all-users folder by the static test.
    bool ShortcutExists() const
    {
        return FileExists(KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Vantrel.lnk") ||
            FileExists(KnownFolder(CSIDL_PROGRAMS) + "\\Vantrel.lnk");
    }

    void RestoreRunValue() const
    {
        const char* const run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
        if (m_savedRunValue)
            WriteRegistryValue(HKEY_LOCAL_MACHINE, run, "Vantrel", *m_savedRunValue, kProgramsOwnView);
        else
            DeleteRegistryValue(HKEY_LOCAL_MACHINE, run, "Vantrel", kProgramsOwnView);
    }

    const std::string m_package = FullPath(testing_support::ModuleDirectory() + "..\\packages\\" VANTREL_TEST_MSI_FILE);
    const std::string m_higherPackage =
        FullPath(testing_support::ModuleDirectory() + "..\\test-packages\\" VANTREL_TEST_HIGHER_MSI_FILE);
    std::optional<RegistryData> m_savedRunValue;
};

TEST_F(PackageTest, InstallsTheProgramThatRunsFromItsFolderAndUninstallsAllButTheUsersMode)
{
    ASSERT_TRUE(StoreModeText("1"));

    ASSERT_EQ(Install(m_package), 0);

    const std::string folder = InstallFolder();
    EXPECT_EQ(FileBytes(folder + "Vantrel.exe"), FileBytes(BuiltProgramPath()));
    EXPECT_EQ(FileBytes(folder + "VantrelDll.dll"), FileBytes(BuiltLibraryPath()));
    EXPECT_TRUE(FileExists(folder + "README.txt"));
    EXPECT_TRUE(ShortcutExists());
    const std::vector<UninstallEntry> entries = UninstallEntriesNamed(kProductName);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].displayVersion, kVersion);
    EXPECT_EQ(entries[0].publisher, kPublisher);
    EXPECT_TRUE(FileExists(ProductIconOf(kProductName))) << "no icon for Apps & Features";

    // The package's Run value is byte for byte what /INSTALL writes there.
    const std::optional<RegistryData> fromPackage = ReadMachineRunValue(kProgramsOwnView);
    ASSERT_TRUE(fromPackage.has_value()) << "the package wrote no Run value";
    EXPECT_EQ(fromPackage->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(fromPackage->Text(), Quoted(kInstalledProgram));
    ASSERT_EQ(RunInstalled("/INSTALL"), 0);
    const std::optional<RegistryData> fromProgram = ReadMachineRunValue(kProgramsOwnView);
    ASSERT_TRUE(fromProgram.has_value());
    EXPECT_EQ(fromProgram->type, fromPackage->type);
    EXPECT_EQ(fromProgram->bytes, fromPackage->bytes);

    ASSERT_TRUE(Start(kModeIconId, LaunchOptions{kInstalledProgram, "", ""}));
    const std::vector<std::string> modules = LoadedModulePaths(m_program.Id());
    EXPECT_TRUE(std::any_of(modules.begin(), modules.end(),
        [&](const std::string& path) { return EqualsIgnoringCase(path, folder + "VantrelDll.dll"); }))
        << "the filter library was not loaded from the installed folder";
    ASSERT_TRUE(m_program.Stop());

    ASSERT_EQ(Uninstall(m_package), 0);

    EXPECT_FALSE(FolderExists(folder));
    EXPECT_FALSE(ShortcutExists());
    EXPECT_FALSE(ReadMachineRunValue(kProgramsOwnView).has_value()) << "the Run value stayed";
    EXPECT_TRUE(UninstallEntriesNamed(kProductName).empty());
    const std::optional<RegistryData> mode = ReadStoredMode();
    ASSERT_TRUE(mode.has_value()) << "the user's mode went with the package";
    EXPECT_EQ(mode->Text(), "1");
}

TEST_F(PackageTest, AHigherVersionReplacesTheInstalledOneAndALowerOneIsRefused)
{
    ASSERT_EQ(Install(m_package), 0);

    ASSERT_EQ(Install(m_higherPackage), 0);

    std::vector<UninstallEntry> entries = UninstallEntriesNamed(kProductName);
    ASSERT_EQ(entries.size(), 1u) << "the upgrade left more than one entry";
    EXPECT_EQ(entries[0].displayVersion, kHigherVersion);
    const std::string readme = FileBytes(InstallFolder() + "README.txt");
    EXPECT_EQ(readme.rfind(std::string("Vantrel ") + kHigherVersion, 0), 0u) << "README.txt is not the newer one";
    EXPECT_TRUE(FileExists(InstallFolder() + "Vantrel.exe"));
    const std::optional<RegistryData> run = ReadMachineRunValue(kProgramsOwnView);
    ASSERT_TRUE(run.has_value()) << "the upgrade lost the Run value";
    EXPECT_EQ(run->Text(), Quoted(kInstalledProgram));

    EXPECT_EQ(Install(m_package), kInstallFailure) << "the older package was not refused";

    entries = UninstallEntriesNamed(kProductName);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].displayVersion, kHigherVersion);
    ASSERT_EQ(Uninstall(m_higherPackage), 0);
    EXPECT_FALSE(FolderExists(InstallFolder()));
}

// Either architecture's package over the other replaces it: one product and
// one Run value across both registry views, so Vantrel starts once a logon.
TEST_F(PackageTest, EitherArchitecturesPackageReplacesTheOther)
{
#ifndef VANTREL_TEST_X86_MSI_FILE
    GTEST_SKIP() << "no i686 build tree with its package";
#else
    const std::string x86Package =
        FullPath(testing_support::ModuleDirectory() + "..\\test-packages\\" VANTREL_TEST_X86_MSI_FILE);
    for (const std::string& package : {m_package, x86Package, m_package}) {
        ASSERT_EQ(Install(package), 0) << package;
        const bool x64 = package == m_package;
        EXPECT_EQ(ReadMachineRunValue(KEY_WOW64_64KEY).has_value(), x64) << package;
        EXPECT_EQ(ReadMachineRunValue(KEY_WOW64_32KEY).has_value(), !x64) << package;
        EXPECT_EQ(UninstallEntriesNamed(kProductName).size(), 1u) << package;
    }
#endif
}

} // namespace
} // namespace e2e
