#include "ResourceBytes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace resource_probe;

namespace {

// Every resource of the program, as "type/name/language", found by walking
// the resource directory the way the loader does.
struct ResourceWalk {
    HMODULE module = GetModuleHandleA(nullptr);
    std::vector<std::string> otherLanguages;
    int count = 0;
};

std::string NameOf(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return name;
}

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR context)
{
    auto& walk = *reinterpret_cast<ResourceWalk*>(context);
    ++walk.count;
    if (language != kEnglishUs) {
        std::ostringstream entry;
        entry << NameOf(type) << "/" << NameOf(name) << " in language 0x"
              << std::hex << language;
        walk.otherLanguages.push_back(entry.str());
    }
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context)
{
    EnumResourceLanguagesA(module, type, name, &OnLanguage, context);
    return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR context)
{
    EnumResourceNamesA(module, type, &OnName, context);
    return TRUE;
}

TEST(ResourceLanguage, EveryResourceIsUsEnglish)
{
    ResourceWalk walk;
    ASSERT_TRUE(EnumResourceTypesA(walk.module, &OnType, reinterpret_cast<LONG_PTR>(&walk)));
    EXPECT_GT(walk.count, 0);
    EXPECT_TRUE(walk.otherLanguages.empty()) << walk.otherLanguages.front();
}

} // namespace
