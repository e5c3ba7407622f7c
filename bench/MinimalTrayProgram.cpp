// The least a notification-area program can be: one hidden window, one icon,
// a message loop. The benchmark measures Vantrel's memory and idle CPU time
// against it. WM_COMMAND IDOK ends it, as it ends Vantrel.

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr char kWindowName[] = "MinimalTrayProgram"; // class and title
constexpr UINT kIconId = 1;
constexpr UINT kIconMessage = WM_APP;

NOTIFYICONDATAA IconRecord(HWND window)
{
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = kIconId;
    return record;
}

void AddIcon(HWND window)
{
    NOTIFYICONDATAA record = IconRecord(window);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kIconMessage;
    record.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    lstrcpynA(record.szTip, kWindowName, sizeof record.szTip);
    Shell_NotifyIconA(NIM_ADD, &record);
}

void RemoveIcon(HWND window)
{
    NOTIFYICONDATAA record = IconRecord(window);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        AddIcon(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        RemoveIcon(window);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowName;
    if (RegisterClassA(&windowClass) == 0)
        return 1;
    // Never shown: the icon is the program's only face.
    if (CreateWindowExA(0, kWindowName, kWindowName, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance,
            nullptr) == nullptr)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
