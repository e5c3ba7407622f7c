#include "ProgramWindows.h"

#include "ProgramFacts.h"
#include "TestSupport.h"

namespace e2e {

namespace {

constexpr char kStaticClass[] = "Static";

struct TopLevelSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context)
{
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

bool Matches(HWND window, const char* className, const char* title)
{
    return ClassNameOf(window) == className && (title == nullptr || WindowTextOf(window) == title);
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    TopLevelSearch search{processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::vector<HWND> ChildWindowsOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindMainWindow(DWORD processId)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (Matches(window, kDialogClass, kProgramTitle) && GetWindow(window, GW_OWNER) == nullptr &&
            GetDlgItem(window, IDYES) == nullptr)
            return window;
    }
    return nullptr;
}

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    testing_support::PumpMessagesUntil([&] { return (found = FindMainWindow(processId)) != nullptr; }, timeoutMs);
    return found;
}

HWND FindVisibleWindow(DWORD processId, const char* className, const char* title)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && Matches(window, className, title))
            return window;
    }
    return nullptr;
}

HWND WaitForVisibleWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs)
{
    HWND found = nullptr;
    testing_support::PumpMessagesUntil(
        [&] { return (found = FindVisibleWindow(processId, className, title)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    return testing_support::PumpMessagesUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); },
        timeoutMs);
}

bool StaysAbsent(DWORD processId, const char* className, const char* title, DWORD milliseconds)
{
    return !testing_support::PumpMessagesUntil(
        [&] { return FindVisibleWindow(processId, className, title) != nullptr; }, milliseconds);
}

std::vector<std::string> StaticTextsOf(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child : ChildWindowsOf(dialog)) {
        if (ClassNameOf(child) == kStaticClass)
            texts.push_back(WindowTextOf(child));
    }
    return texts;
}

bool HasDefaultPushButtonStyle(HWND button)
{
    return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

void PostCommand(HWND window, WORD commandId)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED), 0);
}

void PostKey(HWND window, UINT virtualKey)
{
    const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    // Repeat count 1 and the scan code; a release also has the previous-state
    // and transition bits.
    const ULONG_PTR down = 1u | static_cast<ULONG_PTR>(scanCode) << 16;
    const ULONG_PTR up = down | 0xC0000000u;
    PostMessageA(window, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(down));
    PostMessageA(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(up));
}

} // namespace e2e
