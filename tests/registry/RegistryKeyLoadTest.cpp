#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RegistryKeyLoad : public RegistryKeyTest {
protected:
    RegistryKey& OpenedKey()
    {
        EXPECT_TRUE(OpenScratch(m_key));
        return m_key;
    }

    // The REG_MULTI_SZ block GetMultiString makes, up to its expected length;
    // the byte after it must be untouched.
    static std::string BlockOf(RegistryValue* value, size_t expectedLength)
    {
        std::vector<char> buffer(4096, '\x7F');
        value->GetMultiString(buffer.data(), static_cast<DWORD>(buffer.size()));
        EXPECT_EQ(buffer[expectedLength], '\x7F') << "block longer than expected";
        return std::string(buffer.data(), expectedLength);
    }

    RegistryKey m_key{0};
};

TEST_F(RegistryKeyLoad, EachSupportedTypeBecomesATypedEntry)
{
    WriteText("Text", "hello");
    WriteDword("Number", 0x01020304);
    const BYTE bytes[] = {9, 0, 8};
    WriteRaw("Bytes", REG_BINARY, bytes, sizeof bytes);
    WriteRaw("List", REG_MULTI_SZ, "one\0two\0", 9);

    RegistryKey& key = OpenedKey();
    RegistryValue* text = key.Value("Text");
    EXPECT_EQ(text->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(text->m_exists);
    EXPECT_STREQ(text->m_text, "hello");

    RegistryValue* number = key.Value("Number");
    EXPECT_EQ(number->m_type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number->m_dword, 0x01020304u);

    RegistryValue* binary = key.Value("Bytes");
    EXPECT_EQ(binary->m_type, static_cast<DWORD>(REG_BINARY));
    BYTE copied[8] = {};
    EXPECT_EQ(binary->GetBinary(copied, sizeof copied), 3u);
    EXPECT_EQ(std::vector<BYTE>(copied, copied + 3), std::vector<BYTE>(bytes, bytes + 3));

    RegistryValue* list = key.Value("List");
    EXPECT_EQ(list->m_type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(BlockOf(list, 9), std::string("one\0two\0\0", 9));
}

TEST_F(RegistryKeyLoad, UnsupportedTypesMakeNoEntries)
{
    const BYTE data[8] = {'1', '2', '3', '4', '5', '6', '7', '8'};
    const DWORD types[] = {REG_NONE, REG_EXPAND_SZ, REG_DWORD_BIG_ENDIAN, REG_LINK, REG_RESOURCE_LIST,
        REG_FULL_RESOURCE_DESCRIPTOR, REG_RESOURCE_REQUIREMENTS_LIST, REG_QWORD, 0x1234};
    for (DWORD type : types)
        WriteRaw(("Type" + std::to_string(type)).c_str(), type, data, sizeof data);

    RegistryKey& key = OpenedKey();
    for (DWORD type : types) {
        RegistryValue* value = key.Value(("Type" + std::to_string(type)).c_str());
        EXPECT_FALSE(value->m_exists) << "type " << type;
        EXPECT_EQ(value->m_type, 0u) << "type " << type;
        EXPECT_STREQ(value->GetText(), "") << "type " << type;
    }
}

TEST_F(RegistryKeyLoad, DataOverTheLoadBufferIsSkippedAndLoadingGoesOn)
{
    const std::vector<BYTE> full(2048, 'b');
    const std::vector<BYTE> over(2049, 'b');
    WriteRaw("A_Full", REG_BINARY, full.data(), 2048);
    WriteRaw("B_Over", REG_BINARY, over.data(), 2049);
    WriteRaw("C_OverText", REG_SZ, over.data(), 2049);
    WriteText("D_After", "after");

    RegistryKey& key = OpenedKey();
    EXPECT_TRUE(key.Value("A_Full")->m_exists);
    std::vector<BYTE> copied(4096);
    EXPECT_EQ(key.Value("A_Full")->GetBinary(copied.data(), 4096), 2048u);
    EXPECT_FALSE(key.Value("B_Over")->m_exists);
    EXPECT_FALSE(key.Value("C_OverText")->m_exists);
    EXPECT_STREQ(key.Value("D_After")->m_text, "after");
}

TEST_F(RegistryKeyLoad, NamesOfTwoHundredAndSixtyCharactersOrMoreAreSkipped)
{
    const std::string longest(259, 'n');
    const std::string tooLong(260, 'o');
    WriteText(longest.c_str(), "kept");
    WriteText(tooLong.c_str(), "skipped");
    WriteText("z_after", "after");

    RegistryKey& key = OpenedKey();
    EXPECT_TRUE(key.Value(longest.c_str())->m_exists);
    EXPECT_STREQ(key.Value(longest.c_str())->m_text, "kept");
    EXPECT_FALSE(key.Value(tooLong.c_str())->m_exists);
    EXPECT_STREQ(key.Value("z_after")->m_text, "after");
}

TEST_F(RegistryKeyLoad, EmptyBinaryDataLeavesItsEntryAsItWas)
{
    WriteRaw("Empty", REG_BINARY, "", 0);
    const BYTE bytes[] = {1, 2};
    WriteRaw("Shrinks", REG_BINARY, bytes, sizeof bytes);

    RegistryKey& key = OpenedKey();
    RegistryValue* empty = key.Value("Empty");
    EXPECT_EQ(empty->m_type, 0u);
    EXPECT_FALSE(empty->m_exists);

    WriteRaw("Shrinks", REG_BINARY, "", 0);
    ASSERT_TRUE(key.LoadValues());
    RegistryValue* shrinks = key.Value("Shrinks");
    EXPECT_EQ(shrinks->m_type, static_cast<DWORD>(REG_BINARY));
    EXPECT_TRUE(shrinks->m_exists);
    BYTE copied[4] = {};
    EXPECT_EQ(shrinks->GetBinary(copied, sizeof copied), 2u);
    EXPECT_EQ(copied[1], 2);
}

struct MultiStringCase {
    const char* name;
    std::string stored;
    std::string block;
};

TEST_F(RegistryKeyLoad, MultiStringBlocksAsStored)
{
    const MultiStringCase cases[] = {
        {"TwoClosed", std::string("a\0b\0\0", 5), std::string("a\0b\0\0", 5)},
        // The last zero closes the list, so b has no end of its own.
        {"TwoUnclosed", std::string("a\0b\0", 4), std::string("a\0\0", 3)},
        {"EmptyBetween", std::string("a\0\0b\0\0", 6), std::string("a\0\0b\0\0", 6)},
        {"NoTerminator", std::string("ab\0cd", 5), std::string("ab\0\0", 4)},
        {"TwoBytes", std::string("a\0", 2), std::string("\0", 1)},
        {"OneByte", std::string("a", 1), std::string("\0", 1)},
        {"NoBytes", std::string(), std::string("\0", 1)},
    };
    for (const MultiStringCase& c : cases)
        WriteRaw(c.name, REG_MULTI_SZ, c.stored.data(), static_cast<DWORD>(c.stored.size()));

    RegistryKey& key = OpenedKey();
    for (const MultiStringCase& c : cases) {
        RegistryValue* value = key.Value(c.name);
        EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_MULTI_SZ)) << c.name;
        EXPECT_TRUE(value->m_exists) << c.name;
        EXPECT_EQ(BlockOf(value, c.block.size()), c.block) << c.name;
    }
}

// Wine's RegEnumValueA leaves the data buffer as it was for an empty string
// and fills only the bytes a value has: later values must not show the bytes
// of earlier ones (values are enumerated in name order).
TEST_F(RegistryKeyLoad, EmptyTextAfterLongerTextIsEmpty)
{
    WriteText("A_Long", "previous value");
    WriteRaw("B_Empty", REG_SZ, "", 0);
    RegistryKey& key = OpenedKey();
    RegistryValue* empty = key.Value("B_Empty");
    EXPECT_EQ(empty->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(empty->m_exists);
    EXPECT_STREQ(empty->GetText(), "");
}

TEST_F(RegistryKeyLoad, ShortDwordDataTakesNoBytesOfEarlierValues)
{
    const BYTE ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    WriteRaw("A_Ones", REG_BINARY, ones, sizeof ones);
    const BYTE five = 5;
    WriteRaw("B_OneByte", REG_DWORD, &five, 1);
    WriteRaw("C_NoBytes", REG_DWORD, "", 0);
    const BYTE two[2] = {0x34, 0x12};
    WriteRaw("D_TwoBytes", REG_DWORD, two, sizeof two);
    const BYTE eight[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    WriteRaw("E_EightBytes", REG_DWORD, eight, sizeof eight);

    RegistryKey& key = OpenedKey();
    EXPECT_EQ(key.Value("B_OneByte")->m_dword, 5u);
    EXPECT_EQ(key.Value("C_NoBytes")->m_dword, 0u);
    EXPECT_TRUE(key.Value("C_NoBytes")->m_exists);
    EXPECT_EQ(key.Value("D_TwoBytes")->m_dword, 0x1234u);
    EXPECT_EQ(key.Value("E_EightBytes")->m_dword, 1u);
}

TEST_F(RegistryKeyLoad, TextFillingTheLoadBufferWithoutTerminatorEndsWithItsData)
{
    // 2048 bytes and no terminator: the registry has no room to add one.
    const std::string full(2048, 't');
    WriteRaw("A_Full", REG_SZ, full.data(), 2048);
    WriteRaw("B_Short", REG_SZ, "xyz", 3);

    RegistryKey& key = OpenedKey();
    RegistryValue* value = key.Value("A_Full");
    ASSERT_TRUE(value->m_exists);
    ASSERT_NE(value->m_text, nullptr);
    // Cut to the text buffer, terminator included.
    EXPECT_EQ(value->m_text[2047], '\0');
    EXPECT_EQ(std::string(value->m_text), std::string(2047, 't'));
    EXPECT_STREQ(key.Value("B_Short")->m_text, "xyz");
    // Loading wrote nothing back.
    EXPECT_EQ(ReadRaw("A_Full").data.size(), 2048u);
}

} // namespace
