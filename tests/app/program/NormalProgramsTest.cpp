// "NormalPrograms" and the administrators' lists in the real registry, read
// back as the program reads them at start.

#include "NormalPrograms.h"
#include "SettingsKeyGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr wchar_t kPolicyListKey[] = L"Software\\Policies\\Vantrel\\NormalPrograms";
using Names = std::vector<std::wstring>;

class NormalProgramsTest : public ::testing::Test {
protected:
    NormalProgramsTest() { DeletePolicies(); }
    ~NormalProgramsTest() override { DeletePolicies(); }
    static void DeletePolicies()
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPolicyListKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyListKey);
    }
    // Exactly these bytes; the byte after them is not zero, so that the
    // registry adds no terminator of its own.
    static void Store(DWORD type, std::wstring text, size_t byteCount)
    {
        text.push_back(L'\x4141');
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Vantrel", L"NormalPrograms", type, text.data(),
                      static_cast<DWORD>(byteCount)),
            ERROR_SUCCESS);
    }
    static void Store(const std::wstring& text) { Store(REG_MULTI_SZ, text, text.size() * sizeof(wchar_t)); }
    static void SetPolicy(HKEY root, const wchar_t* name, DWORD type, const std::wstring& text)
    {
        ASSERT_EQ(RegSetKeyValueW(root, kPolicyListKey, name, type, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
    }

    SettingsKeyGuard m_guard;
};

TEST_F(NormalProgramsTest, AWellFormedListIsReadInOrder)
{
    Store(L"mspaint.exe\0Game.EXE\0\0"s);
    EXPECT_EQ(ReadNormalPrograms().user, (Names{L"mspaint.exe", L"Game.EXE"}));
}

TEST_F(NormalProgramsTest, MalformedEntriesAreSkippedAndTheRestApplies)
{
    const std::wstring overLong(256, L'a');
    struct Case {
        std::wstring text;
        Names expected;
    };
    for (const Case& c : {
             // Without any terminator, with an empty string inside, with
             // folders, an over-long name, a duplicate in other letters.
             Case{L"a.exe\0b.exe"s, {L"a.exe", L"b.exe"}},
             Case{L"\0a.exe\0\0b.exe\0\0"s, {L"a.exe", L"b.exe"}},
             Case{L"C:\\x\\a.exe\0..\0b/c.exe\0b.exe\0"s, {L"b.exe"}},
             Case{overLong + L"\0a.exe\0A.EXE\0"s, {L"a.exe"}},
         }) {
        Store(c.text);
        EXPECT_EQ(ReadNormalPrograms().user, c.expected);
    }
    // An odd last byte belongs to no name.
    Store(REG_MULTI_SZ, L"a.exe\0b.exe\0\0"s, 27);
    EXPECT_EQ(ReadNormalPrograms().user, (Names{L"a.exe", L"b.exe"}));
}

TEST_F(NormalProgramsTest, AValueOfAnotherTypeGivesNoProgramsAndNoMoreThan256AreKept)
{
    for (DWORD type : {DWORD(REG_SZ), DWORD(REG_EXPAND_SZ), DWORD(REG_BINARY)}) {
        Store(type, L"a.exe\0\0"s, 14);
        EXPECT_TRUE(ReadNormalPrograms().user.empty()) << type;
    }
    std::wstring many;
    for (int i = 0; i < 300; ++i)
        many += L"p" + std::to_wstring(i) + L".exe" + L'\0';
    Store(many + L'\0');
    const Names read = ReadNormalPrograms().user;
    ASSERT_EQ(read.size(), 256u);
    EXPECT_EQ(read.back(), L"p255.exe");
}

TEST_F(NormalProgramsTest, PolicyListsAddToTheUsersMachineFirstAndTheFilterTakesThemFirst)
{
    Store(L"mine.exe\0Both.exe\0\0"s);
    SetPolicy(HKEY_LOCAL_MACHINE, L"1", REG_SZ, L"machine.exe");
    SetPolicy(HKEY_LOCAL_MACHINE, L"2", REG_DWORD, L"ignored");
    SetPolicy(HKEY_CURRENT_USER, L"1", REG_SZ, L"both.exe");
    SetPolicy(HKEY_CURRENT_USER, L"2", REG_SZ, L"");
    SetPolicy(HKEY_CURRENT_USER, L"3", REG_SZ, std::wstring(300, L'x'));
    const NormalPrograms programs = ReadNormalPrograms();
    EXPECT_EQ(programs.policy, (Names{L"machine.exe", L"both.exe"}));
    EXPECT_EQ(programs.user, (Names{L"mine.exe"}));
    EXPECT_EQ(programs.FilterBlock(), L"machine.exe\0both.exe\0mine.exe\0\0"s);
}

TEST_F(NormalProgramsTest, TheStoredListIsAMultiStringOfTheNamesGiven)
{
    ASSERT_TRUE(StoreUserPrograms({L"a.exe", L"b.exe"}));
    wchar_t data[32] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Vantrel", L"NormalPrograms", RRF_RT_ANY, &type, data, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_MULTI_SZ));
    EXPECT_EQ(std::wstring(data, size / sizeof(wchar_t)), L"a.exe\0b.exe\0\0"s);
    EXPECT_EQ(ReadNormalPrograms().user, (Names{L"a.exe", L"b.exe"}));
}

} // namespace
