#include "RegistryKeyFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// On-demand keys hold a handle only inside single operations.
class RegistryKeyOnDemand : public RegistryKeyTest {};

TEST_F(RegistryKeyOnDemand, OpenLoadsAndLeavesNoHandle)
{
    WriteText("Mode", "1");
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_STREQ(key.Value("Mode")->GetText(), "1");
}

TEST_F(RegistryKeyOnDemand, SettersWriteAndLeaveNoHandle)
{
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    key.Value("Text")->SetString("abc");
    EXPECT_EQ(key.m_hKey, nullptr);
    key.Value("Number")->SetDword(7);
    EXPECT_EQ(key.m_hKey, nullptr);
    const BYTE bytes[] = {1, 2, 3};
    key.Value("Bytes")->SetBinary(bytes, sizeof bytes);
    EXPECT_EQ(key.m_hKey, nullptr);
    const char block[] = "a\0b\0";
    key.Value("List")->SetMultiString(block, sizeof block, false);
    EXPECT_EQ(key.m_hKey, nullptr);

    EXPECT_EQ(ReadRaw("Text").Text(), std::string("abc", 4));
    EXPECT_EQ(ReadRaw("Number").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadRaw("Bytes").data, std::vector<BYTE>(bytes, bytes + 3));
    EXPECT_EQ(ReadRaw("List").Text(), std::string(block, sizeof block));
}

TEST_F(RegistryKeyOnDemand, DeleteRemovesTheValueAndLeavesNoHandle)
{
    WriteText("Mode", "1");
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    RegistryValue* mode = key.Value("Mode");
    EXPECT_TRUE(mode->Delete());
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_FALSE(Exists("Mode"));
    EXPECT_FALSE(mode->m_exists);
    EXPECT_FALSE(mode->Delete()) << "nothing left to delete";
    EXPECT_EQ(key.m_hKey, nullptr);
}

TEST_F(RegistryKeyOnDemand, DeleteValueReopensAndLeavesNoHandle)
{
    const char expand[] = "%TEMP%";
    WriteRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    EXPECT_EQ(key.DeleteValue("Expand"), ERROR_SUCCESS);
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_FALSE(Exists("Expand"));
}

TEST_F(RegistryKeyOnDemand, LoadValuesReopensAndLeavesNoHandle)
{
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    WriteText("Mode", "2");
    EXPECT_TRUE(key.LoadValues());
    EXPECT_EQ(key.m_hKey, nullptr);
    EXPECT_STREQ(key.Value("Mode")->GetText(), "2");
}

TEST_F(RegistryKeyOnDemand, EnsureOpenReopensTheRememberedKey)
{
    RegistryKey key(REGKEY_ON_DEMAND);
    ASSERT_TRUE(OpenScratch(key));
    ASSERT_TRUE(key.EnsureOpen(KEY_SET_VALUE));
    ASSERT_NE(key.m_hKey, nullptr);
    EXPECT_EQ(RegSetValueExA(key.m_hKey, "Direct", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2), ERROR_SUCCESS);
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_TRUE(Exists("Direct"));
}

TEST_F(RegistryKeyOnDemand, FreshOpenAsksOnlyForQueryAndCreateSubKey)
{
    // Opened before the restriction: a handle keeps the access it was granted.
    HKEY guarded = CreateChild("Guarded");
    WriteText("Mode", "1", guarded);
    RestrictedKeyAccess access(Root(), "Guarded", KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY);
    ASSERT_TRUE(access.Applied());

    // The caller's KEY_SET_VALUE is not allowed, yet the open succeeds: the
    // fresh open of an on-demand key asks for exactly 5.
    RegistryKey plain(0);
    EXPECT_FALSE(plain.Open(ChildPath("Guarded").c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, false));
    RegistryKey onDemand(REGKEY_ON_DEMAND);
    ASSERT_TRUE(onDemand.Open(ChildPath("Guarded").c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, false));
    EXPECT_STREQ(onDemand.Value("Mode")->GetText(), "1");
    RegistryKey onDemandCreating(REGKEY_ON_DEMAND | REGKEY_CREATE);
    EXPECT_TRUE(onDemandCreating.Open(ChildPath("Guarded").c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, false));

    // Writing re-opens with KEY_SET_VALUE, which is refused: only the cache changes.
    RegistryValue* mode = onDemand.Value("Mode");
    mode->SetString("2");
    EXPECT_EQ(onDemand.m_hKey, nullptr);
    EXPECT_TRUE(mode->m_exists);
    EXPECT_STREQ(mode->m_text, "2");
    EXPECT_FALSE(mode->Delete());
    EXPECT_EQ(onDemand.m_hKey, nullptr);
    EXPECT_EQ(ReadRaw("Mode", guarded).Text(), std::string("1", 2));
}

TEST_F(RegistryKeyOnDemand, FreshOpenNeedsQueryAndWritesNeedOnlySetValue)
{
    HKEY guarded = CreateChild("Guarded");
    WriteText("Mode", "1", guarded);
    RestrictedKeyAccess access(Root(), "Guarded", KEY_SET_VALUE);
    ASSERT_TRUE(access.Applied());

    RegistryKey onDemand(REGKEY_ON_DEMAND);
    EXPECT_FALSE(onDemand.Open(ChildPath("Guarded").c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, false));
    EXPECT_EQ(onDemand.m_hKey, nullptr);
    // The path is remembered all the same, and writes re-open with
    // KEY_SET_VALUE alone, which is allowed.
    onDemand.Value("Written")->SetString("2");
    EXPECT_EQ(onDemand.m_hKey, nullptr);
    EXPECT_EQ(ReadRaw("Written", guarded).Text(), std::string("2", 2));
    EXPECT_TRUE(onDemand.Value("Mode")->Delete());
    EXPECT_EQ(onDemand.m_hKey, nullptr);
    EXPECT_FALSE(Exists("Mode", guarded));

    // With REGKEY_CREATE the re-open asks for KEY_CREATE_SUB_KEY too: refused.
    RegistryKey creating(REGKEY_ON_DEMAND | REGKEY_CREATE);
    EXPECT_FALSE(creating.Open(ChildPath("Guarded").c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, false));
    creating.Value("Other")->SetString("x");
    EXPECT_EQ(creating.m_hKey, nullptr);
    EXPECT_TRUE(creating.Value("Other")->m_exists);
    EXPECT_FALSE(Exists("Other", guarded));
}

} // namespace
