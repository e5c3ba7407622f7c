#include "DialogTemplate.h"
#include "ResourceBytes.h"
#include "TestSupport.h"
#include "resource.h"
#include "version.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace resource_probe;

namespace {

// The predefined window classes, as the template names them by number.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
// IDC_STATIC (-1) as an extended template stores it.
constexpr DWORD kNoIdentifier = 0xFFFFFFFF;

DialogTemplate ReadDialogTemplate(WORD id)
{
    const ResourceBytes bytes = FindEnglishResource(RT_DIALOG, id);
    return ParseDialogTemplateEx(bytes.data, bytes.size);
}

class AboutDialogTemplate : public testing::Test {
protected:
    void SetUp() override { ASSERT_NO_THROW(m_dialog = ReadDialogTemplate(IDD_ABOUTBOX)); }

    DialogTemplate m_dialog;
};

TEST_F(AboutDialogTemplate, IsAHiddenModalFrameWithCaptionAndSystemMenu)
{
    EXPECT_EQ(m_dialog.style,
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(m_dialog.style, 0x80C800C8u);
    EXPECT_EQ(m_dialog.exStyle, 0u);
    EXPECT_EQ(m_dialog.helpId, 0u);
    EXPECT_EQ(m_dialog.caption, L"About Vantrel");
    EXPECT_FALSE(m_dialog.menu.present);
    EXPECT_FALSE(m_dialog.windowClass.present);
}

TEST_F(AboutDialogTemplate, Measures235By55DialogUnitsAtTheOrigin)
{
    EXPECT_EQ(m_dialog.x, 0);
    EXPECT_EQ(m_dialog.y, 0);
    EXPECT_EQ(m_dialog.width, 235);
    EXPECT_EQ(m_dialog.height, 55);
}

TEST_F(AboutDialogTemplate, UsesTheShellDialogFontAtEightPoints)
{
    EXPECT_EQ(m_dialog.pointSize, 8);
    EXPECT_EQ(m_dialog.weight, 0);
    EXPECT_EQ(m_dialog.italic, 0);
    EXPECT_EQ(m_dialog.charset, DEFAULT_CHARSET);
    EXPECT_EQ(m_dialog.typeface, L"MS Shell Dlg");
}

struct ExpectedControl {
    WORD windowClass;
    DWORD id;
    DWORD style;
    short x, y, width, height;
    const wchar_t* text; // null: the text is the icon resource iconText
    WORD iconText;
};

const std::array<ExpectedControl, 5> kAboutControls{{
    {kStaticClass, kNoIdentifier, 0x50000003, 11, 17, 20, 20, nullptr, IDI_VANTREL},
    {kStaticClass, kNoIdentifier, 0x50020080, 40, 10, 119, 8, L"Vantrel Version 1.0", 0},
    {kStaticClass, kNoIdentifier, 0x50020000, 40, 23, 119, 8, L"(C) 2026 " VANTREL_COMPANY_NAME, 0},
    {kButtonClass, IDOK, 0x50030001, 178, 7, 50, 16, L"OK", 0},
    {kStaticClass, kNoIdentifier, 0x50020000, 40, 36, 119, 8, L"vantrel.example.org", 0},
}};

TEST_F(AboutDialogTemplate, HoldsIconVersionCopyrightOkAndAddressInTabOrder)
{
    ASSERT_EQ(m_dialog.items.size(), kAboutControls.size());
    for (size_t i = 0; i < kAboutControls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const ExpectedControl& expected = kAboutControls[i];
        const DialogItem& item = m_dialog.items[i];
        EXPECT_TRUE(item.windowClass.isOrdinal);
        EXPECT_EQ(item.windowClass.ordinal, expected.windowClass);
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.style, expected.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.helpId, 0u);
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.width, expected.width);
        EXPECT_EQ(item.height, expected.height);
        if (expected.text == nullptr) {
            EXPECT_TRUE(item.text.isOrdinal);
            EXPECT_EQ(item.text.ordinal, expected.iconText);
        } else {
            EXPECT_FALSE(item.text.isOrdinal);
            EXPECT_EQ(item.text.name, expected.text);
        }
        EXPECT_TRUE(item.creationData.empty());
    }
}

// The dialog manager builds the dialog from the template, as DoModal will:
// a created, still hidden window shows what the user would see.
class CreatedAboutDialog : public testing::Test {
protected:
    void SetUp() override
    {
        m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr,
            &IgnoreEverything, 0);
        ASSERT_NE(m_window, nullptr) << "CreateDialogParam failed: " << GetLastError();
    }

    void TearDown() override
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }

    static INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    HWND m_window = nullptr;
};

TEST_F(CreatedAboutDialog, StaysHiddenUntilShown)
{
    EXPECT_FALSE(IsWindowVisible(m_window));
    EXPECT_EQ(testing_support::WindowTextOf(m_window), "About Vantrel");
}

TEST_F(CreatedAboutDialog, ShowsTheApplicationIconAndThreeLinesBesideTheOkButton)
{
    HWND child = GetWindow(m_window, GW_CHILD);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(testing_support::ClassNameOf(child), "Static");
    EXPECT_NE(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)), nullptr)
        << "the icon control found no icon 128";

    const char* const texts[] = {"Vantrel Version 1.0", "(C) 2026 " VANTREL_COMPANY_NAME, "OK", "vantrel.example.org"};
    const char* const classes[] = {"Static", "Static", "Button", "Static"};
    for (size_t i = 0; i < 4; ++i) {
        child = GetWindow(child, GW_HWNDNEXT);
        ASSERT_NE(child, nullptr) << "control " << i + 2 << " missing";
        EXPECT_EQ(testing_support::ClassNameOf(child), classes[i]);
        EXPECT_EQ(testing_support::WindowTextOf(child), texts[i]);
    }
    EXPECT_EQ(GetWindow(child, GW_HWNDNEXT), nullptr);
}

// Each line is drawn in its dialog's font within the rectangle the template
// gives it: text wider than that is cut off or wrapped out of sight.
TEST_F(CreatedAboutDialog, ShowsEveryLineWhole)
{
    const auto font = reinterpret_cast<HFONT>(SendMessageA(m_window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    int lines = 0;
    for (HWND child = GetWindow(m_window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (testing_support::ClassNameOf(child) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::string text = testing_support::WindowTextOf(child);
        SCOPED_TRACE(text);
        const HDC context = GetDC(child);
        ASSERT_NE(context, nullptr);
        const HGDIOBJ previousFont = SelectObject(context, font);
        SIZE extent = {};
        const BOOL measured = GetTextExtentPoint32A(context, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(context, previousFont);
        ReleaseDC(child, context);
        ASSERT_TRUE(measured);
        RECT client = {};
        GetClientRect(child, &client);
        EXPECT_LE(extent.cx, client.right);
        EXPECT_LE(extent.cy, client.bottom);
        ++lines;
    }
    EXPECT_EQ(lines, 3);
}

TEST_F(CreatedAboutDialog, MakesOkTheDefaultButton)
{
    const HWND ok = GetDlgItem(m_window, IDOK);
    ASSERT_NE(ok, nullptr);
    // Wine answers DM_GETDEFID with 1 whatever the default is; the button's
    // own style says which one it is.
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(MainDialogTemplate, IsAVisibleAppWindowWithCaptionAndSystemMenu)
{
    DialogTemplate dialog;
    ASSERT_NO_THROW(dialog = ReadDialogTemplate(IDD_VANTREL_DIALOG));
    const DWORD required = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    EXPECT_EQ(dialog.style & required, required);
    EXPECT_EQ(dialog.style & WS_CHILD, 0u);
    EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(dialog.caption, L"Vantrel");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
    EXPECT_FALSE(dialog.menu.present);
    EXPECT_FALSE(dialog.windowClass.present);
    EXPECT_TRUE(dialog.items.empty());
}

} // namespace
