#include "FilterLibrary.h"
#include "ModulePath.h"
#include "StdoutCapture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The traces are printed as "...\n" to standard output, which the C runtime
// keeps in text mode: each line ends in CR LF there, as in any Windows
// program's printed output.
constexpr char kLoadFailedTrace[] = "LoadLibrary failed\r\n";
constexpr char kLookupFailedTrace[] = "GetProcAddress failed\r\n";

std::string SystemLibraryPath(const char* fileName)
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + fileName;
}

// A system library this test program has not loaded, and that exports
// neither filter function.
std::string UnloadedSystemLibrary()
{
    for (const char* name : {"msimg32.dll", "version.dll", "mpr.dll"})
        if (GetModuleHandleA(name) == nullptr)
            return SystemLibraryPath(name);
    return {};
}

TEST(FilterLibraryTest, PathIsTheFilterLibraryInTheProgramsOwnFolder)
{
    EXPECT_EQ(FilterLibraryPath(), testing_support::ModuleDirectory() + "VantrelDll.dll");
}

TEST(FilterLibraryTest, MissingLibraryIsTracedAsAFailedLoad)
{
    const std::string missing = testing_support::ModuleDirectory() + "NoSuchFilter.dll";
    for (int mode : {1, 2}) {
        FilterCallResult result{};
        EXPECT_EQ(CaptureStdout([&] { result = CallMouseFilter(missing, mode); }), kLoadFailedTrace);
        EXPECT_EQ(result, FilterCallResult::LoadFailed);
    }
}

TEST(FilterLibraryTest, EmptyPathIsAFailedLoadAndNeverASearch)
{
    FilterCallResult result{};
    EXPECT_EQ(CaptureStdout([&] { result = CallMouseFilter("", 1); }), kLoadFailedTrace);
    EXPECT_EQ(result, FilterCallResult::LoadFailed);
}

TEST(FilterLibraryTest, LibraryWithoutTheExportIsTracedAndReleased)
{
    for (int mode : {1, 2, 0}) {
        const std::string library = UnloadedSystemLibrary();
        ASSERT_FALSE(library.empty());
        FilterCallResult result{};
        EXPECT_EQ(CaptureStdout([&] { result = CallMouseFilter(library, mode); }), kLookupFailedTrace);
        EXPECT_EQ(result, FilterCallResult::LookupFailed);
        EXPECT_EQ(GetModuleHandleA(library.c_str()), nullptr) << library << " stayed loaded";
    }
}

TEST(FilterLibraryTest, FilterLibraryStaysLoadedAfterItsExportRan)
{
    const std::string library = FilterLibraryPath();
    FilterCallResult result{};
    // Mode Normal removes a filter that is not there: nothing else happens.
    EXPECT_EQ(CaptureStdout([&] { result = CallMouseFilter(library, 2); }), "");
    EXPECT_EQ(result, FilterCallResult::Called);
    EXPECT_NE(GetModuleHandleA(library.c_str()), nullptr);
}

TEST(ModulePathTest, ProgramPathIsWholeAndItsFolderEndsWithASeparator)
{
    const std::string path = ModuleFilePath(nullptr);
    EXPECT_EQ(ModuleFolder(nullptr), testing_support::ModuleDirectory());
    EXPECT_EQ(path.substr(path.size() - 4), ".exe");
    EXPECT_EQ(path.rfind(testing_support::ModuleDirectory(), 0), 0u);
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// A copy of the filter library in a folder whose path is longer than
// MAX_PATH: its path must come back whole, never cut at 260 characters. The
// folders and the copy are made with the wide functions: Wine's ANSI file
// functions (like Windows' without long-path support) stop at MAX_PATH.
class LongPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::string folder = std::string("\\\\?\\") + temp + "vantrel-long-path";
        m_folders.push_back(folder);
        while (folder.size() < 320) {
            folder += "\\" + std::string(40, 'd');
            m_folders.push_back(folder);
        }
        for (const std::string& each : m_folders)
            CreateDirectoryW(Wide(each).c_str(), nullptr);
        m_copy = folder + "\\VantrelDll.dll";
        ASSERT_TRUE(CopyFileW(Wide(FilterLibraryPath()).c_str(), Wide(m_copy).c_str(), FALSE)) << GetLastError();
    }

    void TearDown() override
    {
        if (m_library != nullptr)
            FreeLibrary(m_library);
        DeleteFileW(Wide(m_copy).c_str());
        for (auto each = m_folders.rbegin(); each != m_folders.rend(); ++each)
            RemoveDirectoryW(Wide(*each).c_str());
    }

    std::vector<std::string> m_folders;
    std::string m_copy;
    HMODULE m_library = nullptr;
};

TEST_F(LongPathTest, LongModulePathComesBackWhole)
{
    m_library = LoadLibraryExW(Wide(m_copy).c_str(), nullptr, 0);
    ASSERT_NE(m_library, nullptr) << GetLastError();
    const std::string path = ModuleFilePath(m_library);
    ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    // The system may or may not show the \\?\ prefix; the rest is the file.
    const std::string expectedTail = m_copy.substr(4);
    ASSERT_GE(path.size(), expectedTail.size());
    EXPECT_EQ(path.substr(path.size() - expectedTail.size()), expectedTail);
    EXPECT_EQ(ModuleFolder(m_library), path.substr(0, path.size() - std::string("VantrelDll.dll").size()));
}

} // namespace
