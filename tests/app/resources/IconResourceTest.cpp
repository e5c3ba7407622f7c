#include "IconGroup.h"
#include "ResourceBytes.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace resource_probe;

namespace {

std::vector<IconGroupEntry> ReadIconGroup(WORD id)
{
    const ResourceBytes bytes = FindEnglishResource(RT_GROUP_ICON, id);
    return ParseIconGroup(bytes.data, bytes.size);
}

// (size, bits per pixel) of every image in a group.
std::set<std::pair<int, int>> SizesAndDepths(const std::vector<IconGroupEntry>& entries)
{
    std::set<std::pair<int, int>> result;
    for (const IconGroupEntry& entry : entries)
        result.emplace(entry.width, entry.bitCount);
    return result;
}

// The width of an icon as made: that of its mask bitmap; -1 if unreadable.
LONG IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return -1;
    BITMAP mask = {};
    const bool read = GetObjectA(info.hbmMask, sizeof mask, &mask) != 0;
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return read ? mask.bmWidth : -1;
}

TEST(ApplicationIcon, Has48And32And16PixelsEachIn16And256And24BitColour)
{
    std::vector<IconGroupEntry> entries;
    ASSERT_NO_THROW(entries = ReadIconGroup(IDI_VANTREL));
    EXPECT_EQ(entries.size(), 9u);
    const std::set<std::pair<int, int>> expected{
        {48, 4}, {48, 8}, {48, 24}, {32, 4}, {32, 8}, {32, 24}, {16, 4}, {16, 8}, {16, 24}};
    EXPECT_EQ(SizesAndDepths(entries), expected);
}

TEST(ModeIcons, EachHoldOne32PixelImageIn16Colours)
{
    for (const WORD id : {WORD{IDI_MODE_ONE}, WORD{IDI_MODE_NORMAL}}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        std::vector<IconGroupEntry> entries;
        ASSERT_NO_THROW(entries = ReadIconGroup(id));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].width, 32);
        EXPECT_EQ(entries[0].height, 32);
        EXPECT_EQ(entries[0].bitCount, 4);
        EXPECT_EQ(entries[0].colourCount, 16);
    }
}

TEST(ModeIcons, LookDifferent)
{
    std::vector<IconGroupEntry> one;
    std::vector<IconGroupEntry> normal;
    ASSERT_NO_THROW(one = ReadIconGroup(IDI_MODE_ONE));
    ASSERT_NO_THROW(normal = ReadIconGroup(IDI_MODE_NORMAL));
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(normal.size(), 1u);
    const ResourceBytes oneImage = FindEnglishResource(RT_ICON, one[0].iconId);
    const ResourceBytes normalImage = FindEnglishResource(RT_ICON, normal[0].iconId);
    ASSERT_NE(oneImage.data, nullptr);
    ASSERT_NE(normalImage.data, nullptr);
    ASSERT_EQ(oneImage.size, normalImage.size);
    EXPECT_NE(std::vector<BYTE>(oneImage.data, oneImage.data + oneImage.size),
        std::vector<BYTE>(normalImage.data, normalImage.data + normalImage.size));
}

class EveryIconImage : public testing::TestWithParam<WORD> {};

TEST_P(EveryIconImage, MatchesItsDirectoryEntryAndMasksItsBackground)
{
    std::vector<IconGroupEntry> entries;
    ASSERT_NO_THROW(entries = ReadIconGroup(GetParam()));
    ASSERT_FALSE(entries.empty());
    for (const IconGroupEntry& entry : entries) {
        SCOPED_TRACE(std::to_string(entry.width) + " pixels, " + std::to_string(entry.bitCount) + " bits");
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.colourCount, entry.bitCount == 4 ? 16 : 0);

        const ResourceBytes bytes = FindEnglishResource(RT_ICON, entry.iconId);
        ASSERT_NE(bytes.data, nullptr);
        EXPECT_EQ(bytes.size, entry.bytesInResource);
        try {
            const IconImage image(bytes.data, bytes.size);
            EXPECT_EQ(image.Width(), entry.width);
            EXPECT_EQ(image.StoredHeight(), 2 * entry.height);
            EXPECT_EQ(image.BitCount(), entry.bitCount);
            EXPECT_EQ(image.Planes(), 1);
            const LONG last = image.Width() - 1;
            EXPECT_TRUE(image.IsTransparent(0, 0));
            EXPECT_TRUE(image.IsTransparent(last, last));
            EXPECT_FALSE(image.IsTransparent(image.Width() / 2, image.Width() / 2));
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, EveryIconImage,
    testing::Values(WORD{IDI_VANTREL}, WORD{IDI_MODE_ONE}, WORD{IDI_MODE_NORMAL}));

// The system, not the program, chooses an image for each size it draws: it
// must find the image of exactly that size, at the display's colour depth.
TEST(ApplicationIcon, GivesTheSystemAnImageOfEachSize)
{
    const ResourceBytes group = FindEnglishResource(RT_GROUP_ICON, IDI_VANTREL);
    ASSERT_NE(group.data, nullptr);
    std::vector<BYTE> directory(group.data, group.data + group.size);
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(std::to_string(size) + " pixels");
        const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(id, 0);
        const ResourceBytes image = FindEnglishResource(RT_ICON, static_cast<WORD>(id));
        ASSERT_NE(image.data, nullptr);
        std::vector<BYTE> bits(image.data, image.data + image.size);
        const HICON icon = CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE,
            0x00030000, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(IconWidth(icon), size);
        DestroyIcon(icon);
    }
}

TEST(ModeIcons, LoadAsSharedIconsAtTheSystemIconSize)
{
    for (const WORD id : {WORD{IDI_MODE_ONE}, WORD{IDI_MODE_NORMAL}, WORD{IDI_VANTREL}}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        // LoadIcon's icons are shared: never destroyed by their user.
        const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(IconWidth(icon), GetSystemMetrics(SM_CXICON));
    }
}

} // namespace
