#include "ResourceBytes.h"
#include "ResourceReader.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

using namespace resource_probe;

namespace {

struct MenuItem {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    std::wstring text;
};

// Reads an item by position, or by command when byPosition is FALSE (the way
// the program finds the mode items: from the popup, through the sub-menus).
MenuItem ReadItem(HMENU menu, UINT item, BOOL byPosition = TRUE)
{
    wchar_t text[64] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(sizeof text / sizeof text[0]);
    MenuItem result;
    if (!GetMenuItemInfoW(menu, item, byPosition, &info)) {
        ADD_FAILURE() << "no menu item " << item << (byPosition ? " (position)" : " (command)");
        return result;
    }
    result.type = info.fType;
    result.state = info.fState;
    result.id = info.wID;
    result.subMenu = info.hSubMenu;
    result.text = text;
    return result;
}

struct CompiledItem {
    WORD option = 0;
    std::wstring text;
};

// The items of a menu template in the order compiled, popups before their
// items, with the option flags as stored. LoadMenu adds state of its own (it
// gives separators MFS_GRAYED, seen under Wine), so the resource is read here.
void ReadMenuLevel(ResourceReader& reader, std::vector<CompiledItem>& items)
{
    for (;;) {
        CompiledItem item;
        item.option = reader.Read<WORD>();
        if ((item.option & MF_POPUP) == 0)
            reader.Read<WORD>(); // the command identifier
        item.text = reader.ReadString();
        items.push_back(item);
        if ((item.option & MF_POPUP) != 0)
            ReadMenuLevel(reader, items);
        if ((item.option & MF_END) != 0)
            return;
    }
}

std::vector<CompiledItem> ReadMenuTemplate(const ResourceBytes& bytes)
{
    ResourceReader reader(bytes.data, bytes.size);
    const WORD version = reader.Read<WORD>();
    const WORD headerSize = reader.Read<WORD>();
    if (version != 0)
        throw std::runtime_error("not a standard menu template");
    reader.Skip(headerSize);
    std::vector<CompiledItem> items;
    ReadMenuLevel(reader, items);
    return items;
}

// The menu as LoadMenu gives it; destroying it destroys its sub-menus too.
class TrayMenu : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(FindEnglishResource(RT_MENU, IDR_TRAY_MENU).data, nullptr) << "no US English menu 131";
        m_menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
        ASSERT_NE(m_menu, nullptr);
        ASSERT_EQ(GetMenuItemCount(m_menu), 1);
        m_popup = GetSubMenu(m_menu, 0);
        ASSERT_NE(m_popup, nullptr);
    }

    void TearDown() override
    {
        if (m_menu != nullptr)
            DestroyMenu(m_menu);
    }

    HMENU m_menu = nullptr;
    HMENU m_popup = nullptr;
};

TEST_F(TrayMenu, HoldsOnePopupNamedMenu)
{
    const MenuItem popup = ReadItem(m_menu, 0);
    EXPECT_EQ(popup.text, L"Menu");
    EXPECT_EQ(popup.subMenu, m_popup);
}

// One expected item of a menu level: a command, a popup, or (no text) a separator.
struct ExpectedItem {
    const wchar_t* text;
    UINT id;
    bool popup;
};

void ExpectItems(HMENU menu, std::initializer_list<ExpectedItem> expected)
{
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    UINT position = 0;
    for (const ExpectedItem& want : expected) {
        SCOPED_TRACE("position " + std::to_string(position));
        const MenuItem item = ReadItem(menu, position++);
        if (want.text == nullptr) {
            EXPECT_NE(item.type & MFT_SEPARATOR, 0u);
        } else {
            EXPECT_EQ(item.text, want.text);
        }
        if (want.text != nullptr && !want.popup) {
            EXPECT_EQ(item.id, want.id);
        }
        EXPECT_EQ(item.subMenu != nullptr, want.popup);
    }
}

TEST_F(TrayMenu, OffersExitAboutSettingsASeparatorAndButtonModeInThatOrder)
{
    ExpectItems(m_popup,
        {{L"Exit", ID_TRAY_EXIT, false}, {L"About", ID_TRAY_ABOUT, false}, {L"Settings...", ID_TRAY_SETTINGS, false},
            {nullptr, 0, false},
            {L"Button Mode", 0, true}});
}

TEST_F(TrayMenu, ButtonModeOffersOneThenNormal)
{
    ExpectItems(GetSubMenu(m_popup, 4), {{L"One", ID_MODE_ONE, false}, {L"Normal", ID_MODE_NORMAL, false}});
}

TEST(TrayMenuResource, CarriesNoCheckGreyOrDefaultMark)
{
    std::vector<CompiledItem> items;
    ASSERT_NO_THROW(items = ReadMenuTemplate(FindEnglishResource(RT_MENU, IDR_TRAY_MENU)));
    ASSERT_EQ(items.size(), 8u);
    // MF_HILITE is not among them: in a template its bit is MF_END.
    const WORD marks = MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_DEFAULT | MF_MENUBREAK | MF_MENUBARBREAK
        | MF_OWNERDRAW | MF_HELP;
    for (const CompiledItem& item : items) {
        SCOPED_TRACE(item.text);
        EXPECT_EQ(item.option & marks, 0);
    }
}

TEST_F(TrayMenu, ShowsEveryCommandEnabledUncheckedAndNoneAsDefault)
{
    const HMENU menus[] = {m_menu, m_popup, GetSubMenu(m_popup, 4)};
    for (const HMENU menu : menus) {
        ASSERT_NE(menu, nullptr);
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            const MenuItem item = ReadItem(menu, static_cast<UINT>(position));
            if ((item.type & MFT_SEPARATOR) != 0)
                continue; // greyed by LoadMenu, not by the resource
            SCOPED_TRACE(item.text);
            EXPECT_EQ(item.state, 0u);
            EXPECT_EQ(item.type & (MFT_RADIOCHECK | MFT_OWNERDRAW | MFT_RIGHTJUSTIFY), 0u);
        }
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(-1));
    }
}

TEST_F(TrayMenu, FindsEveryCommandFromThePopupThroughItsSubMenu)
{
    const struct {
        UINT id;
        const wchar_t* text;
    } commands[] = {{ID_TRAY_EXIT, L"Exit"}, {ID_TRAY_ABOUT, L"About"}, {ID_TRAY_SETTINGS, L"Settings..."}, {ID_MODE_ONE, L"One"},
        {ID_MODE_NORMAL, L"Normal"}};
    for (const auto& command : commands)
        EXPECT_EQ(ReadItem(m_popup, command.id, FALSE).text, command.text);
}

} // namespace
