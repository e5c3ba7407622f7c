#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

class RegistryValueWrite : public OpenRegistryKeyTest {};

TEST_F(RegistryValueWrite, SetStringWritesTheTextWithItsTerminator)
{
    RegistryValue* value = m_key.Value("Text");
    EXPECT_EQ(&value->SetString("hello"), value);
    const RawValue raw = ReadRaw("Text");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.Text(), std::string("hello", 6));
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(value->m_exists);
    EXPECT_STREQ(value->m_text, "hello");
    EXPECT_EQ(value->m_writeResult, ERROR_SUCCESS);
}

TEST_F(RegistryValueWrite, AWriteTheRegistryRefusesIsReportedAndStillCached)
{
    RegistryKey readOnly(0);
    ASSERT_TRUE(readOnly.Open(Path().c_str(), HKEY_CURRENT_USER, KEY_QUERY_VALUE, false));
    RegistryValue* value = readOnly.Value("Text");
    value->SetString("refused");
    EXPECT_EQ(value->m_writeResult, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(value->m_exists);
    EXPECT_STREQ(value->m_text, "refused");
    EXPECT_FALSE(Exists("Text"));

    value->SetDword(7);
    EXPECT_EQ(value->m_writeResult, ERROR_ACCESS_DENIED);
}

TEST_F(RegistryValueWrite, SetStringOfTheEmptyTextWritesOneByte)
{
    m_key.Value("Empty")->SetString("");
    const RawValue raw = ReadRaw("Empty");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.data, std::vector<BYTE>(1, 0));
}

TEST_F(RegistryValueWrite, SetIntWritesDecimalText)
{
    m_key.Value("Two")->SetInt(2);
    m_key.Value("MinusOne")->SetInt(-1);
    m_key.Value("Lowest")->SetInt(INT_MIN);
    m_key.Value("Highest")->SetInt(INT_MAX);
    EXPECT_EQ(ReadRaw("Two").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRaw("Two").Text(), std::string("2", 2));
    EXPECT_EQ(ReadRaw("MinusOne").Text(), std::string("-1", 3));
    EXPECT_EQ(ReadRaw("Lowest").Text(), std::string("-2147483648", 12));
    EXPECT_EQ(ReadRaw("Highest").Text(), std::string("2147483647", 11));
    EXPECT_STREQ(m_key.Value("Lowest")->m_text, "-2147483648");
}

TEST_F(RegistryValueWrite, SetDwordWritesFourBytes)
{
    RegistryValue* value = m_key.Value("Number");
    EXPECT_EQ(&value->SetDword(0xA1B2C3D4), value);
    const RawValue raw = ReadRaw("Number");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw.data, (std::vector<BYTE>{0xD4, 0xC3, 0xB2, 0xA1}));
    EXPECT_EQ(value->m_dword, 0xA1B2C3D4u);
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(RegistryValueWrite, SetBinaryWritesTheBytes)
{
    const BYTE bytes[] = {0, 1, 0, 2};
    m_key.Value("Bytes")->SetBinary(bytes, sizeof bytes);
    const RawValue raw = ReadRaw("Bytes");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw.data, std::vector<BYTE>(bytes, bytes + 4));
    EXPECT_EQ(m_key.Value("Bytes")->m_type, static_cast<DWORD>(REG_BINARY));
}

TEST_F(RegistryValueWrite, SetBinaryOfNoBytesChangesNothing)
{
    RegistryValue* fresh = m_key.Value("Fresh");
    fresh->SetBinary(reinterpret_cast<const BYTE*>("x"), 0);
    EXPECT_EQ(fresh->m_type, 0u);
    EXPECT_FALSE(fresh->m_exists);
    EXPECT_FALSE(Exists("Fresh"));

    RegistryValue* text = m_key.Value("Text");
    text->SetString("kept");
    text->Delete();
    text->SetBinary(reinterpret_cast<const BYTE*>("x"), 0);
    EXPECT_EQ(text->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(text->m_exists);
    EXPECT_FALSE(Exists("Text"));
}

TEST_F(RegistryValueWrite, SetMultiStringWritesTheCallersBlockUnchanged)
{
    // Not a well-formed list, written as given all the same.
    const char block[] = {'a', 0, 'b', 'c'};
    RegistryValue* value = m_key.Value("List");
    value->SetMultiString(block, sizeof block, false);
    const RawValue raw = ReadRaw("List");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(std::string(raw.data.begin(), raw.data.begin() + 4), std::string(block, 4));
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_MULTI_SZ));
}

TEST_F(RegistryValueWrite, SetMultiStringWriteOnlyLeavesTheCachedTypeAndStrings)
{
    RegistryValue* value = m_key.Value("List");
    value->SetString("text");
    value->Delete();
    value->SetMultiString("x\0y\0", 5, true);
    EXPECT_EQ(ReadRaw("List").Text(), std::string("x\0y\0\0", 5));
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(value->m_exists);
    EXPECT_STREQ(value->GetText(), "text");
}

TEST_F(RegistryValueWrite, ASetterReplacesTheStoredValueOfAnotherType)
{
    WriteDword("Mode", 1);
    ASSERT_TRUE(m_key.LoadValues());
    m_key.Value("mode")->SetInt(2);
    const RawValue raw = ReadRaw("Mode");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.Text(), std::string("2", 2));
}

TEST_F(RegistryValueWrite, EachSetterKeepsTheDataOfTheOtherTypes)
{
    RegistryValue* value = m_key.Value("Changing");
    const BYTE bytes[] = {7, 8};
    value->SetBinary(bytes, sizeof bytes);
    value->SetDword(5);
    value->SetMultiString("m\0\0", 3, false);
    value->SetString("now text");
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->m_dword, 5u);
    BYTE copied[4] = {};
    EXPECT_EQ(value->GetBinary(copied, sizeof copied), 2u);
    EXPECT_EQ(copied[0], 7);
    EXPECT_STREQ(value->GetText(), "now text");
}

TEST_F(RegistryValueWrite, SettersOnAClosedKeyChangeOnlyTheCache)
{
    m_key.Close();
    RegistryValue* text = m_key.Value("Text");
    text->SetString("cached");
    RegistryValue* number = m_key.Value("Number");
    number->SetDword(3);
    const BYTE bytes[] = {1};
    RegistryValue* binary = m_key.Value("Bytes");
    binary->SetBinary(bytes, 1);
    RegistryValue* list = m_key.Value("List");
    list->SetMultiString("a\0\0", 3, false);
    RegistryValue* integer = m_key.Value("Int");
    integer->SetInt(4);

    for (RegistryValue* value : {text, number, binary, list, integer}) {
        EXPECT_TRUE(value->m_exists);
        EXPECT_EQ(value->m_writeResult, ERROR_INVALID_HANDLE);
    }
    EXPECT_STREQ(text->m_text, "cached");
    EXPECT_EQ(number->m_dword, 3u);
    EXPECT_STREQ(integer->m_text, "4");
    for (const char* name : {"Text", "Number", "Bytes", "List", "Int"})
        EXPECT_FALSE(Exists(name)) << name;
    EXPECT_EQ(m_key.m_hKey, nullptr);
}

TEST_F(RegistryValueWrite, SettersOfAKeyNeverOpenedChangeOnlyTheCache)
{
    RegistryKey neverOpened(REGKEY_CREATE);
    RegistryValue* value = neverOpened.Value("Mode");
    value->SetInt(1);
    EXPECT_TRUE(value->m_exists);
    EXPECT_STREQ(value->m_text, "1");
    EXPECT_FALSE(value->Delete());
    EXPECT_FALSE(value->m_exists);
}

TEST_F(RegistryValueWrite, DeleteOnAnOpenKeyRemovesTheValueAndKeepsTheEntry)
{
    WriteText("Vantrel", "C:\\path\\Vantrel.exe");
    WriteText("Other", "untouched");
    ASSERT_TRUE(m_key.LoadValues());
    RegistryValue* value = m_key.Value("Vantrel");
    ASSERT_TRUE(value->m_exists);
    EXPECT_TRUE(value->Delete());
    EXPECT_FALSE(Exists("Vantrel"));
    EXPECT_TRUE(Exists("Other"));
    EXPECT_FALSE(value->m_exists);
    EXPECT_EQ(m_key.Value("vantrel"), value);
    EXPECT_EQ(value->m_type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(value->m_text, "C:\\path\\Vantrel.exe");
    EXPECT_NE(m_key.m_hKey, nullptr) << "a key without REGKEY_ON_DEMAND stays open";
}

TEST_F(RegistryValueWrite, DeleteOfAValueTheRegistryLacksFails)
{
    RegistryValue* value = m_key.Value("Missing");
    value->SetString("x");
    DeleteRaw("Missing");
    EXPECT_FALSE(value->Delete());
    EXPECT_FALSE(value->m_exists);
}

TEST_F(RegistryValueWrite, DeleteOnAClosedKeyFailsAndRemovesNothing)
{
    WriteText("Vantrel", "path");
    ASSERT_TRUE(m_key.LoadValues());
    RegistryValue* value = m_key.Value("Vantrel");
    m_key.Close();
    EXPECT_FALSE(value->Delete());
    EXPECT_FALSE(value->m_exists);
    EXPECT_TRUE(Exists("Vantrel"));
    EXPECT_EQ(m_key.Value("Vantrel"), value);
}

TEST_F(RegistryValueWrite, DeleteValueRemovesValuesTheCacheNeverHeld)
{
    for (const ForeignValue& value : kForeignValues)
        WriteRaw(value.what, value.type, value.bytes.data(), DWORD(value.bytes.size()));
    WriteText("Other", "untouched");
    ASSERT_TRUE(m_key.LoadValues());

    // Every other one named in another case.
    for (const ForeignValue& value : kForeignValues) {
        std::string name = value.what;
        if ((&value - kForeignValues) % 2 != 0)
            CharUpperA(name.data());
        EXPECT_EQ(m_key.DeleteValue(name.c_str()), ERROR_SUCCESS) << name;
        EXPECT_FALSE(Exists(name.c_str())) << name;
        EXPECT_EQ(m_key.DeleteValue(name.c_str()), ERROR_FILE_NOT_FOUND) << name << " a second time";
    }
    EXPECT_EQ(ReadRaw("Other").Text(), std::string("untouched", 10));
    EXPECT_NE(m_key.m_hKey, nullptr) << "a key without REGKEY_ON_DEMAND stays open";
}

TEST_F(RegistryValueWrite, DeleteValueOfACachedValueKeepsItsEntryNoLongerExisting)
{
    WriteText("Vantrel", "C:\\path\\Vantrel.exe");
    ASSERT_TRUE(m_key.LoadValues());
    RegistryValue* value = m_key.Value("Vantrel");
    ASSERT_TRUE(value->m_exists);
    EXPECT_EQ(m_key.DeleteValue("VANTREL"), ERROR_SUCCESS);
    EXPECT_FALSE(Exists("Vantrel"));
    EXPECT_FALSE(value->m_exists);
    EXPECT_EQ(m_key.Value("vantrel"), value);
    EXPECT_STREQ(value->m_text, "C:\\path\\Vantrel.exe");

    WriteText("Vantrel", "again");
    m_key.Close();
    EXPECT_EQ(m_key.DeleteValue("Vantrel"), ERROR_INVALID_HANDLE) << "a closed key deletes nothing";
    EXPECT_TRUE(Exists("Vantrel"));
}

TEST_F(RegistryValueWrite, TheDefaultValueIsAnEntryLikeAnyOther)
{
    m_key.Value("")->SetString("default");
    EXPECT_EQ(ReadRaw("").Text(), std::string("default", 8));
}

} // namespace
