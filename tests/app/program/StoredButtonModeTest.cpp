#include "RegistryKeyFixture.h"
#include "StoredButtonMode.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// "Mode" written with the registry functions and read back through the
// registry library, as the main window reads it.
class StoredButtonModeTest : public RegistryKeyTest {
protected:
    void Write(DWORD type, const void* data, DWORD size) { WriteRaw("Mode", type, data, size); }
    void WriteText(DWORD type, const std::string& text) { Write(type, text.c_str(), DWORD(text.size() + 1)); }
    void WriteDword(DWORD value) { Write(REG_DWORD, &value, sizeof value); }

    int ReadMode()
    {
        RegistryKey key(0);
        EXPECT_TRUE(OpenScratch(key));
        const int mode = StoredButtonMode(*key.Value("Mode"));
        key.Close();
        return mode;
    }
};

TEST_F(StoredButtonModeTest, TextIsReadAsADecimalNumber)
{
    WriteText(REG_SZ, "1");
    EXPECT_EQ(ReadMode(), 1);
    WriteText(REG_SZ, "2");
    EXPECT_EQ(ReadMode(), 2);
}

TEST_F(StoredButtonModeTest, TextIsReadAsTheCLibraryReadsNumbers)
{
    WriteText(REG_SZ, "  \t7 and more");
    EXPECT_EQ(ReadMode(), 7);
    WriteText(REG_SZ, "-3");
    EXPECT_EQ(ReadMode(), -3);
    WriteText(REG_SZ, "+1x");
    EXPECT_EQ(ReadMode(), 1);
}

TEST_F(StoredButtonModeTest, TextWithoutDigitsGivesZero)
{
    WriteText(REG_SZ, "One");
    EXPECT_EQ(ReadMode(), 0);
    WriteText(REG_SZ, "");
    EXPECT_EQ(ReadMode(), 0);
}

TEST_F(StoredButtonModeTest, NumbersBeyondAnIntAreClampedNotWrapped)
{
    WriteText(REG_SZ, "99999999999");
    EXPECT_EQ(ReadMode(), INT_MAX);
    WriteText(REG_SZ, "-99999999999");
    EXPECT_EQ(ReadMode(), INT_MIN);
    // 2^32 + 1 must not wrap round to mode One.
    WriteText(REG_SZ, "4294967297");
    EXPECT_NE(ReadMode(), 1);
}

TEST_F(StoredButtonModeTest, DwordIsReadAsTheNumber)
{
    WriteDword(1);
    EXPECT_EQ(ReadMode(), 1);
    WriteDword(2);
    EXPECT_EQ(ReadMode(), 2);
    WriteDword(0xFFFFFFFF);
    EXPECT_EQ(ReadMode(), -1);
}

TEST_F(StoredButtonModeTest, BinaryIsReadAsDecimalTextUpToItsFirstZero)
{
    Write(REG_BINARY, "1", 1);
    EXPECT_EQ(ReadMode(), 1);
    Write(REG_BINARY, "2\0" "1", 3);
    EXPECT_EQ(ReadMode(), 2);
    const BYTE one = 1;
    Write(REG_BINARY, &one, 1);
    EXPECT_EQ(ReadMode(), 0);
}

TEST_F(StoredButtonModeTest, OtherTypesAndAMissingValueGiveZero)
{
    EXPECT_EQ(ReadMode(), 0);
    WriteText(REG_EXPAND_SZ, "1");
    EXPECT_EQ(ReadMode(), 0);
    Write(REG_MULTI_SZ, "1\0\0", 3);
    EXPECT_EQ(ReadMode(), 0);
    const ULONGLONG one = 1;
    Write(REG_QWORD, &one, sizeof one);
    EXPECT_EQ(ReadMode(), 0);
}

TEST(ParseDecimalModeTest, NullTextGivesZero)
{
    EXPECT_EQ(ParseDecimalMode(nullptr), 0);
    EXPECT_EQ(ParseDecimalMode("12"), 12);
}

} // namespace
