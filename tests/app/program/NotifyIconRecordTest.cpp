#include "NotifyIconRecord.h"
#include "RegisteredMessages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
const HICON kIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x5678));

TEST(NotifyIconRecordTest, SizeIsTheFirstVersionsOfThisTarget)
{
    // 88 bytes on 32-bit Windows, 104 on 64-bit: a 64-character tooltip and
    // nothing after it.
    const DWORD expected = sizeof(void*) == 4 ? 88 : 104;
    EXPECT_EQ(MakeNotifyIconKeyRecord(kWindow, 130).cbSize, expected);
    EXPECT_EQ(MakeNotifyIconAddRecord(kWindow, 130, kIcon, "Vantrel").cbSize, expected);
    EXPECT_EQ(expected, offsetof(NOTIFYICONDATAA, szTip) + 64);
}

TEST(NotifyIconRecordTest, AddRecordCarriesMessageIconAndTip)
{
    const NOTIFYICONDATAA record = MakeNotifyIconAddRecord(kWindow, 130, kIcon, "Vantrel");
    EXPECT_EQ(record.hWnd, kWindow);
    EXPECT_EQ(record.uID, 130u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, NotifyIconMessage);
    EXPECT_EQ(record.hIcon, kIcon);
    EXPECT_STREQ(record.szTip, "Vantrel");
}

TEST(NotifyIconRecordTest, RegisteredMessagesAreSetBeforeAnyCodeRuns)
{
    // Registered messages live in 0xC000..0xFFFF; the same name gives the
    // same identifier to every caller.
    EXPECT_EQ(NotifyIconMessage, RegisterWindowMessageA("NotifyIcon"));
    EXPECT_EQ(TaskbarCreatedMessage, RegisterWindowMessageA("TaskbarCreated"));
    EXPECT_GE(NotifyIconMessage, 0xC000u);
    EXPECT_NE(NotifyIconMessage, TaskbarCreatedMessage);
}

TEST(NotifyIconRecordTest, LongTooltipIsCutTo63Characters)
{
    const std::string seventy(70, 'x');
    const NOTIFYICONDATAA record = MakeNotifyIconAddRecord(kWindow, 129, kIcon, seventy.c_str());
    EXPECT_EQ(std::string(record.szTip), std::string(63, 'x'));
}

TEST(NotifyIconRecordTest, NullTooltipGivesAnEmptyOne)
{
    NOTIFYICONDATAA record = MakeNotifyIconAddRecord(kWindow, 129, kIcon, nullptr);
    EXPECT_EQ(record.szTip[0], '\0');
    EXPECT_EQ(record.uFlags, 7u);
}

TEST(NotifyIconRecordTest, KeyRecordNamesTheIconOnly)
{
    const NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(kWindow, 129);
    EXPECT_EQ(record.hWnd, kWindow);
    EXPECT_EQ(record.uID, 129u);
    EXPECT_EQ(record.uFlags, 0u);
    EXPECT_EQ(record.uCallbackMessage, 0u);
    EXPECT_EQ(record.hIcon, nullptr);
    EXPECT_EQ(record.szTip[0], '\0');
}

} // namespace
