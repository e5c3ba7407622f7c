// The library as a loaded module: its exports and its entry point.

#include "DebugOutputCapture.h"
#include "LoadedFilterLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kUnknownReasonTrace[] = "Unknown Error!\n";

} // namespace

TEST(FilterLibraryExports, BindByNameAndByTheSameOrdinals)
{
    LoadedFilterLibrary library;
    ASSERT_NE(library.Module(), nullptr) << "cannot load " << FilterLibraryPath();
    const auto addByName = ExportOf<AddMouseFilterFunction>(library.Module(), kAddMouseFilterName);
    const auto removeByName = ExportOf<RemoveMouseFilterFunction>(library.Module(), kRemoveMouseFilterName);
    ASSERT_NE(addByName, nullptr);
    ASSERT_NE(removeByName, nullptr);
    EXPECT_EQ(ExportOf<AddMouseFilterFunction>(library.Module(), ExportOrdinal(1)), addByName);
    EXPECT_EQ(ExportOf<RemoveMouseFilterFunction>(library.Module(), ExportOrdinal(2)), removeByName);
    const auto renewByName = ExportOf<RenewMouseFilterFunction>(library.Module(), kRenewMouseFilterName);
    const auto callTimeByName = ExportOf<MouseFilterCallTimeFunction>(library.Module(), kMouseFilterCallTimeName);
    ASSERT_NE(renewByName, nullptr);
    ASSERT_NE(callTimeByName, nullptr);
    EXPECT_EQ(ExportOf<RenewMouseFilterFunction>(library.Module(), ExportOrdinal(3)), renewByName);
    EXPECT_EQ(ExportOf<MouseFilterCallTimeFunction>(library.Module(), ExportOrdinal(4)), callTimeByName);
    const auto setProgramsByName = ExportOf<SetNormalProgramsFunction>(library.Module(), kSetNormalProgramsName);
    ASSERT_NE(setProgramsByName, nullptr);
    EXPECT_EQ(ExportOf<SetNormalProgramsFunction>(library.Module(), ExportOrdinal(5)), setProgramsByName);
    EXPECT_EQ(GetProcAddress(library.Module(), ExportOrdinal(6)), GetProcAddress(library.Module(), kReleaseHeldPressName));
    EXPECT_EQ(GetProcAddress(library.Module(), ExportOrdinal(7)), GetProcAddress(library.Module(), kSetBounceFilterName));
    EXPECT_EQ(GetProcAddress(library.Module(), ExportOrdinal(8)), nullptr);
}

TEST(FilterLibraryExports, InstallAndRemoveByName)
{
    LoadedFilterLibrary library;
    ASSERT_TRUE(library.IsBound());
    EXPECT_EQ(library.AddMouseFilter(WH_MOUSE_LL, 0), 1);
    library.RemoveMouseFilter(WH_MOUSE_LL);
    EXPECT_EQ(library.AddMouseFilter(WH_MOUSE_LL, 0), 1);
    library.RemoveMouseFilter(WH_MOUSE_LL);
}

TEST(FilterLibraryExports, RenewTakesOnlyTheLowLevelMouseHook)
{
    LoadedFilterLibrary library;
    ASSERT_TRUE(library.IsBound());
    const auto renew = ExportOf<RenewMouseFilterFunction>(library.Module(), kRenewMouseFilterName);
    ASSERT_NE(renew, nullptr);
    EXPECT_EQ(renew(WH_MOUSE, 0), 0);
    EXPECT_EQ(renew(WH_MOUSE_LL, 0), 1) << "renewing with no hook held installs one";
    EXPECT_EQ(renew(WH_MOUSE_LL, 0), 1);
    library.RemoveMouseFilter(WH_MOUSE_LL);
}

// Without a process attach the library has no module handle to hook with.
// DONT_RESOLVE_DLL_REFERENCES maps a library without calling its entry point
// (and without binding its imports, so only a call that fails before using
// any import is safe here). A copy under another name is needed: the loader
// would hand back the already attached library for the same file.
TEST(FilterLibraryExports, AddFailsWithoutProcessAttach)
{
    char directory[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, directory), 0U);
    const std::string copyPath =
        std::string(directory) + "VantrelDll-unattached-" + std::to_string(GetCurrentProcessId()) + ".dll";
    ASSERT_TRUE(CopyFileA(FilterLibraryPath().c_str(), copyPath.c_str(), FALSE));
    {
        LoadedFilterLibrary unattached(copyPath, DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_TRUE(unattached.IsBound());
        EXPECT_EQ(unattached.AddMouseFilter(WH_MOUSE_LL, 0), 0);
    }
    EXPECT_TRUE(DeleteFileA(copyPath.c_str()));
}

class FilterEntryPointTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.IsBound());
        m_entryPoint = m_library.EntryPoint();
        ASSERT_NE(m_entryPoint, nullptr);
        ASSERT_TRUE(m_capture.IsActive());
    }

    // Calls the entry point as the loader would, and returns what it wrote to the debugger.
    std::string TraceOfEntry(HINSTANCE instance, DWORD reason, BOOL* result)
    {
        m_capture.Clear();
        *result = m_entryPoint(instance, reason, nullptr);
        return m_capture.Text();
    }

    LoadedFilterLibrary m_library;
    DllEntryFunction m_entryPoint = nullptr;
    DebugOutputCapture m_capture;
};

TEST_F(FilterEntryPointTest, UnknownReasonsTraceUnknownErrorAndSucceed)
{
    for (const DWORD reason : {DWORD{4}, DWORD{5}, DWORD{0x7FFFFFFF}, DWORD{0xFFFFFFFF}}) {
        BOOL result = FALSE;
        EXPECT_EQ(TraceOfEntry(m_library.Module(), reason, &result), kUnknownReasonTrace)
            << "reason " << reason;
        EXPECT_EQ(result, TRUE) << "reason " << reason;
    }
}

TEST_F(FilterEntryPointTest, KnownReasonsTraceNothingAndSucceed)
{
    for (const DWORD reason :
        {DWORD{DLL_THREAD_ATTACH}, DWORD{DLL_THREAD_DETACH}, DWORD{DLL_PROCESS_ATTACH}, DWORD{DLL_PROCESS_DETACH}}) {
        BOOL result = FALSE;
        EXPECT_EQ(TraceOfEntry(m_library.Module(), reason, &result), "")
            << "reason " << reason;
        EXPECT_EQ(result, TRUE) << "reason " << reason;
    }
    // A process detach leaves the library usable: it removes nothing and forgets nothing.
    EXPECT_EQ(m_library.AddMouseFilter(WH_MOUSE_LL, 0), 1);
}

// A second process attach keeps the module handle of the first. Only a null
// handle is observable from outside: Wine ignores the module argument of
// low-level hooks, so there a different non-null handle would install just
// the same.
TEST_F(FilterEntryPointTest, SecondProcessAttachKeepsModuleHandle)
{
    BOOL result = FALSE;
    EXPECT_EQ(TraceOfEntry(nullptr, DLL_PROCESS_ATTACH, &result), "");
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(m_library.AddMouseFilter(WH_MOUSE_LL, 0), 1);
}
