// A stand-in for Vantrel.exe with the same outside: a hidden "#32770" window
// titled "Vantrel", a notification icon (id 130, then 129 once a mode is
// applied) whose left or right press opens the popup menu, the exit question,
// an "About Vantrel" box, the stored "Mode" and the filter library. The
// end-to-end harness proves its mechanisms against it, so that a harness fault
// is never mistaken for a fault of the program.

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

namespace {

constexpr UINT kIconNormal = 130;
constexpr UINT kIconOne = 129;
constexpr UINT kCommandAbout = 32771;
constexpr UINT kCommandExit = 32773;
constexpr UINT kCommandNormal = 32776;
constexpr UINT kCommandOne = 32777;
constexpr UINT kCommandSettings = 32778;
constexpr UINT kSystemCommandAbout = 16;
constexpr char kKeyPath[] = "Software\\Vantrel";

const UINT g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
const UINT g_notifyIcon = RegisterWindowMessageA("NotifyIcon");

int g_mode = 2;
UINT g_iconId = kIconNormal;
const char* g_tooltip = "Vantrel";
bool g_iconShown = false;

void AddIcon(HWND window)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = g_iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = g_notifyIcon;
    data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    lstrcpynA(data.szTip, g_tooltip, sizeof data.szTip);
    g_iconShown = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void RemoveIcon(HWND window)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = g_iconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    g_iconShown = false;
}

void ApplyMode(HWND window)
{
    const HMODULE library = LoadLibraryA("VantrelDll.dll");
    if (library == nullptr)
        return;
    using AddFilter = BOOLEAN(WINAPI*)(int, DWORD);
    using RemoveFilter = void(WINAPI*)(int);
    if (g_mode == 1) {
        if (auto add = reinterpret_cast<AddFilter>(reinterpret_cast<void (*)()>(GetProcAddress(library, "AddMouseFilter"))))
            add(WH_MOUSE_LL, 0);
    } else if (auto remove = reinterpret_cast<RemoveFilter>(
                   reinterpret_cast<void (*)()>(GetProcAddress(library, "RemoveMouseFilter")))) {
        remove(WH_MOUSE_LL);
    }
    RemoveIcon(window);
    g_iconId = kIconOne;
    g_tooltip = "Toggle Mouse Buttons";
    AddIcon(window);
}

void StoreMode()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const char text[2] = {static_cast<char>('0' + g_mode), 0};
    RegSetValueExA(key, "Mode", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
}

void LoadStoredMode(HWND window)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    char text[16] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    g_mode = 0;
    if (RegQueryValueExA(key, "Mode", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        g_mode = std::atoi(text);
    RegCloseKey(key);
    ApplyMode(window);
}

void SwitchMode(HWND window, int from, int to)
{
    if (g_mode != from)
        return;
    g_mode = to;
    ApplyMode(window);
    StoreMode();
}

void ShowMenu(HWND window)
{
    const HMENU modes = CreatePopupMenu();
    AppendMenuA(modes, MF_STRING | (g_mode == 1 ? MF_CHECKED : 0), kCommandOne, "One");
    AppendMenuA(modes, MF_STRING | (g_mode == 2 ? MF_CHECKED : 0), kCommandNormal, "Normal");
    const HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kCommandExit, "Exit");
    AppendMenuA(menu, MF_STRING, kCommandAbout, "About");
    AppendMenuA(menu, MF_STRING, kCommandSettings, "Settings...");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(modes), "Button Mode");
    POINT where{};
    GetCursorPos(&where);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, where.x, where.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void Quit(HWND window)
{
    if (g_iconShown)
        RemoveIcon(window);
    DestroyWindow(window);
    PostQuitMessage(0);
}

INT_PTR CALLBACK MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_notifyIcon) {
        if (wParam == g_iconId && (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN))
            ShowMenu(window);
        return TRUE;
    }
    if (message == g_taskbarCreated) {
        AddIcon(window);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        AddIcon(window);
        LoadStoredMode(window);
        return TRUE;
    case WM_WINDOWPOSCHANGING:
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != kSystemCommandAbout)
            return FALSE;
        MessageBoxA(window, "Vantrel Version 1.0", "About Vantrel", MB_OK);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Quit(window);
            break;
        case IDCANCEL:
            ShowWindow(window, SW_HIDE);
            break;
        case kCommandExit:
            if (MessageBoxA(window, "Are you sure you want to exit Vantrel?", "Vantrel",
                    MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES)
                Quit(window);
            break;
        case kCommandAbout:
            MessageBoxA(window, "Vantrel Version 1.0", "About Vantrel", MB_OK);
            break;
        case kCommandOne:
            SwitchMode(window, 2, 1);
            break;
        case kCommandNormal:
            SwitchMode(window, 1, 2);
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

// An in-memory dialog template: no controls, caption "Vantrel".
struct MainTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WCHAR title[8];
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    alignas(DWORD) static const MainTemplate mainTemplate{
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 100, 50}, 0, 0, L"Vantrel"};
    const HWND window = CreateDialogIndirectParamA(instance, &mainTemplate.dialog, nullptr, MainProcedure, 0);
    if (window == nullptr)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
