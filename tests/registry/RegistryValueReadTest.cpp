#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class RegistryValueRead : public RegistryKeyTest {};

TEST_F(RegistryValueRead, DwordTextIsUnsignedDecimal)
{
    WriteDword("AllOnes", 0xFFFFFFFF);
    WriteDword("Zero", 0);
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    EXPECT_STREQ(key.Value("AllOnes")->GetText(), "4294967295");
    EXPECT_STREQ(key.Value("Zero")->GetText(), "0");
}

TEST_F(RegistryValueRead, BinaryTextEndsAtTheFirstZeroByte)
{
    const BYTE bytes[] = {0x41, 0x42, 0x00, 0x43};
    WriteRaw("Bytes", REG_BINARY, bytes, sizeof bytes);
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* value = key.Value("Bytes");
    char* text = value->GetText();
    EXPECT_EQ(text, value->m_text);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(text[3], '\0') << "the bytes after the first zero are not copied";
    EXPECT_EQ(text[4], '\0');
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_BINARY));
}

// How the main window reads "Mode": binary data is turned into text first.
TEST_F(RegistryValueRead, ModeStoredAsBinaryReadsAsItsText)
{
    WriteRaw("Mode", REG_BINARY, "1", 2);
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* mode = key.Value("Mode");
    ASSERT_EQ(mode->m_type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(mode->m_text, nullptr) << "no text before it is asked for";
    ASSERT_NE(mode->TextBuffer(), nullptr);
    EXPECT_STREQ(mode->m_text, "") << "TextBuffer converts nothing";
    mode->GetText();
    EXPECT_EQ(std::atoi(mode->m_text), 1);
}

TEST_F(RegistryValueRead, TextOfAMultiStringIsItsFirstString)
{
    WriteRaw("List", REG_MULTI_SZ, "first\0second\0", 14);
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    char* text = key.Value("List")->GetText();
    EXPECT_STREQ(text, "first");
    EXPECT_STREQ(text + 6, "second");
}

TEST_F(RegistryValueRead, GetBinaryCopiesAtMostTheStoredBytes)
{
    const BYTE bytes[] = {1, 2, 3, 4};
    WriteRaw("Bytes", REG_BINARY, bytes, sizeof bytes);
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* value = key.Value("Bytes");

    BYTE smaller[4] = {0, 0, 0, 0xEE};
    EXPECT_EQ(value->GetBinary(smaller, 3), 3u);
    EXPECT_EQ(std::vector<BYTE>(smaller, smaller + 4), (std::vector<BYTE>{1, 2, 3, 0xEE}));

    BYTE larger[8] = {};
    EXPECT_EQ(value->GetBinary(larger, sizeof larger), 4u);
    EXPECT_EQ(std::vector<BYTE>(larger, larger + 5), (std::vector<BYTE>{1, 2, 3, 4, 0}));
}

TEST_F(RegistryValueRead, GetBinaryWithoutBytesThrows)
{
    WriteText("Text", "not binary");
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    BYTE buffer[4];
    EXPECT_THROW(key.Value("Text")->GetBinary(buffer, sizeof buffer), std::out_of_range);
    EXPECT_THROW(key.Value("Missing")->GetBinary(buffer, sizeof buffer), std::out_of_range);
}

TEST_F(RegistryValueRead, GetBinaryIgnoresTheType)
{
    RegistryKey key(0);
    RegistryValue* value = key.Value("Changed");
    const BYTE bytes[] = {5, 6};
    value->SetBinary(bytes, sizeof bytes);
    value->SetDword(1);
    BYTE copied[2] = {};
    EXPECT_EQ(value->GetBinary(copied, sizeof copied), 2u);
    EXPECT_EQ(copied[1], 6);
}

TEST_F(RegistryValueRead, GetMultiStringOfAnotherTypeIsEmpty)
{
    WriteText("Text", "abc");
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(key.Value("Text")->GetMultiString(buffer, sizeof buffer), buffer);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
}

TEST_F(RegistryValueRead, MultiStringParsesInMemoryAsFromTheRegistry)
{
    struct Case {
        std::string block;
        std::string expected;
    };
    const Case cases[] = {
        {std::string("a\0b\0\0", 5), std::string("a\0b\0\0", 5)},
        {std::string("a\0b\0", 4), std::string("a\0\0", 3)},
        {std::string("a\0\0b\0\0", 6), std::string("a\0\0b\0\0", 6)},
        {std::string("ab", 2), std::string("\0", 1)},
        {std::string("\0\0", 2), std::string("\0", 1)},
    };
    RegistryKey key(0);
    for (const Case& c : cases) {
        RegistryValue* value = key.Value("List");
        value->SetMultiString(c.block.data(), static_cast<DWORD>(c.block.size()), false);
        EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_MULTI_SZ));
        EXPECT_TRUE(value->m_exists);
        std::vector<char> buffer(16, '\x7F');
        value->GetMultiString(buffer.data(), static_cast<DWORD>(buffer.size()));
        EXPECT_EQ(std::string(buffer.data(), c.expected.size()), c.expected);
        EXPECT_EQ(buffer[c.expected.size()], '\x7F');
    }
}

TEST_F(RegistryValueRead, WithoutRefreshReadsComeFromTheCache)
{
    WriteText("Mode", "1");
    RegistryKey key(0);
    ASSERT_TRUE(OpenScratch(key));
    WriteText("Mode", "2");
    EXPECT_STREQ(key.Value("Mode")->GetText(), "1");
}

// Values changed by someone else between reads.
class RegistryValueRefresh : public RegistryValueRead {};

TEST_F(RegistryValueRefresh, ReadsSeeChangesMadeOutside)
{
    WriteText("Text", "1");
    const BYTE bytes[] = {1};
    WriteRaw("Bytes", REG_BINARY, bytes, 1);
    WriteRaw("List", REG_MULTI_SZ, "a\0\0", 3);
    RegistryKey key(REGKEY_REFRESH);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* text = key.Value("Text");
    RegistryValue* binary = key.Value("Bytes");
    RegistryValue* list = key.Value("List");

    WriteText("Text", "2");
    const BYTE newBytes[] = {2, 3};
    WriteRaw("Bytes", REG_BINARY, newBytes, 2);
    WriteRaw("List", REG_MULTI_SZ, "b\0\0", 3);
    EXPECT_STREQ(text->GetText(), "2");
    BYTE copied[4] = {};
    EXPECT_EQ(binary->GetBinary(copied, sizeof copied), 2u);
    EXPECT_EQ(copied[1], 3);
    char block[4] = {};
    EXPECT_STREQ(list->GetMultiString(block, sizeof block), "b");
}

TEST_F(RegistryValueRefresh, AValueDeletedOutsideKeepsItsData)
{
    WriteText("Text", "kept");
    RegistryKey key(REGKEY_REFRESH);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* text = key.Value("Text");
    DeleteRaw("Text");
    EXPECT_STREQ(text->GetText(), "kept");
    EXPECT_TRUE(text->m_exists);
}

TEST_F(RegistryValueRefresh, AValueAddedOutsideIsFoundOnTheNextRead)
{
    RegistryKey key(REGKEY_REFRESH);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* added = key.Value("Added");
    WriteText("Added", "new");
    EXPECT_STREQ(added->GetText(), "new");
    EXPECT_TRUE(added->m_exists);
}

TEST_F(RegistryValueRefresh, GetMultiStringOfAnotherTypeDoesNotReload)
{
    WriteText("Value", "text");
    RegistryKey key(REGKEY_REFRESH);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* value = key.Value("Value");
    WriteRaw("Value", REG_MULTI_SZ, "a\0\0", 3);
    char block[4] = {'x', 'x', 'x', 'x'};
    key.Value("Value")->GetMultiString(block, sizeof block);
    EXPECT_EQ(block[0], '\0');
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_SZ)) << "a reload would have made it REG_MULTI_SZ";
}

TEST_F(RegistryValueRefresh, AClosedKeyReadsItsCache)
{
    WriteText("Text", "1");
    RegistryKey key(REGKEY_REFRESH);
    ASSERT_TRUE(OpenScratch(key));
    key.Close();
    WriteText("Text", "2");
    EXPECT_STREQ(key.Value("Text")->GetText(), "1");
}

TEST_F(RegistryValueRefresh, OnDemandReadsReloadAndLeaveNoHandle)
{
    WriteText("Text", "1");
    WriteDword("Number", 1);
    RegistryKey key(REGKEY_REFRESH | REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    EXPECT_EQ(key.m_hKey, nullptr);
    WriteText("Text", "2");
    WriteDword("Number", 2);
    EXPECT_STREQ(key.Value("Text")->GetText(), "2");
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_STREQ(key.Value("Number")->GetText(), "2");
    EXPECT_EQ(key.m_hKey, nullptr);
    BYTE buffer[2];
    EXPECT_THROW(key.Value("Text")->GetBinary(buffer, 2), std::out_of_range);
    EXPECT_EQ(key.m_hKey, nullptr);
}

} // namespace
