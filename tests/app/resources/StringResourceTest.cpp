#include "ResourceBytes.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

using namespace resource_probe;

namespace {

TEST(AboutMenuString, ReadsAboutVantrelWithItsAccessKey)
{
    // Strings are stored in blocks of sixteen: string n lives in block n / 16 + 1.
    EXPECT_NE(FindEnglishResource(RT_STRING, IDS_ABOUTBOX / 16 + 1).data, nullptr) << "no US English string block";
    char text[64] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, static_cast<int>(sizeof text));
    EXPECT_EQ(std::string(text, static_cast<size_t>(length)), "&About Vantrel...");
}

} // namespace
