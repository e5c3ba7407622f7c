// The rule for listed programs without a desktop: what the list keeps, what
// the cache answers, and which releases pass.

#include "NormalProgramRule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

void ToCapitals(WCHAR* name, UINT length)
{
    for (UINT i = 0; i < length; ++i)
        if (name[i] >= L'a' && name[i] <= L'z')
            name[i] = static_cast<WCHAR>(name[i] - L'a' + L'A');
}

TEST(NormalProgramRule, TheListKeepsWellFormedNamesFoldedAndReadsNothingPastItsLength)
{
    static NormalProgramList list;
    const std::wstring block = L"\0Paint.exe\0C:\\x.exe\0..\0"s + std::wstring(256, L'y') + L"\0game.exe"s;
    // The length stops before "game.exe" ends: its last letter is not read.
    EXPECT_EQ(list.Assign(block.data(), static_cast<UINT>(block.size() - 1), ToCapitals), 2u);
    EXPECT_TRUE(list.Contains(L"PAINT.EXE"));
    EXPECT_TRUE(list.Contains(L"GAME.EX"));
    EXPECT_FALSE(list.Contains(L"GAME.EXE"));
    EXPECT_FALSE(list.Contains(L"C:\\X.EXE"));
    EXPECT_EQ(list.Assign(nullptr, 0, ToCapitals), 0u);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(NormalProgramRule, TheCacheTellsAReusedProcessIdByItsThreadAndForgetsTheOldest)
{
    static ProgramNameCache cache;
    cache.Replace(10, 11)[0] = L'A';
    const WCHAR* const found = cache.Find(10, 11);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(std::wstring(found), L"A");
    EXPECT_EQ(cache.Find(10, 12), nullptr);
    for (DWORD id = 0; id < ProgramNameCache::kEntries; ++id)
        cache.Replace(100 + id, 1);
    EXPECT_EQ(cache.Find(10, 11), nullptr);
    EXPECT_NE(cache.Find(100 + ProgramNameCache::kEntries - 1, 1), nullptr);
}

} // namespace
