// Keeps one icon in the test session's tray from its start to its end.
//
// Wine hides its standalone tray window when the last icon goes, and the
// NIM_DELETE that empties it blocks the caller for about 2 s; with another
// icon shown it takes about 20 ms. Every test that starts and ends a program
// with an icon paid that wait several times. This icon is added before any
// test runs; the tests' helpers leave it out when they count or click icons,
// telling it by its owner window (of class "VantrelTestTrayKeeper").
//
// Prints "ready" once the icon is shown, then waits for messages until the
// session's Wine server ends it.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VantrelTestTrayKeeper";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance,
        nullptr);

    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconA(nullptr, IDI_INFORMATION);
    lstrcpynA(icon.szTip, "test session", sizeof icon.szTip);
    // The tray comes up with the session's first window: try for 30 s.
    bool shown = false;
    for (int attempt = 0; attempt < 300 && !(shown = Shell_NotifyIconA(NIM_ADD, &icon) != FALSE); ++attempt)
        Sleep(100);
    if (!shown)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
