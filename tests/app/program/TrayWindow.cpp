#include "TrayWindow.h"

#include "NotifyIconRecord.h"

namespace {

constexpr char kClassName[] = "VantrelTrayTestWindow";

} // namespace

TrayTestWindow::TrayTestWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, kClassName, "Vantrel tray test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
        nullptr, GetModuleHandleA(nullptr), this);
}

TrayTestWindow::~TrayTestWindow()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

LRESULT CALLBACK TrayTestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TrayTestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && self->m_onMessage)
        self->m_onMessage(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool NotifyIconExists(HWND window, UINT iconId)
{
    NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(window, iconId);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}
