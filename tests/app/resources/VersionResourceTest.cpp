#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The version block of the running program's file, read as Explorer's
// properties page reads it.
class VersionBlock : public testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        ASSERT_GT(length, 0u);
        ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
        ASSERT_GT(size, 0u) << "no version block";
        m_block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, m_block.data()));
    }

    // The value at a VerQueryValue path, or null.
    const void* Query(const char* subBlock, UINT& size)
    {
        void* value = nullptr;
        size = 0;
        if (!VerQueryValueA(m_block.data(), subBlock, &value, &size))
            return nullptr;
        return value;
    }

    std::string Text(const std::string& name)
    {
        UINT size = 0;
        const void* value = Query(("\\StringFileInfo\\040904e4\\" + name).c_str(), size);
        if (value == nullptr) {
            ADD_FAILURE() << name << " is missing from the 040904e4 string table";
            return {};
        }
        return static_cast<const char*>(value);
    }

    std::vector<BYTE> m_block;
};

TEST_F(VersionBlock, NumbersFileAndProductAs1_0_0_1ForAnApplication)
{
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query("\\", size));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
}

TEST_F(VersionBlock, DeclaresUsEnglishInTheWindowsLatinCodePage)
{
    UINT size = 0;
    const auto* translation = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", size));
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(size, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);
}

TEST_F(VersionBlock, NamesTheProgramItsFileAndItsMaker)
{
    EXPECT_EQ(Text("FileVersion"), "1.0.0.1");
    EXPECT_EQ(Text("ProductVersion"), "1.0.0.1");
    EXPECT_EQ(Text("FileDescription"), "Vantrel");
    EXPECT_EQ(Text("ProductName"), "Vantrel");
    EXPECT_EQ(Text("InternalName"), "Vantrel.exe");
    EXPECT_EQ(Text("OriginalFilename"), "Vantrel.exe");
    EXPECT_FALSE(Text("CompanyName").empty());
    EXPECT_NE(Text("LegalCopyright").find("Copyright"), std::string::npos);
}

} // namespace
