#include "ClickRecorder.h"

#include "TestSupport.h"

namespace e2e {

namespace {

constexpr char kClassName[] = "VantrelE2eClickRecorder";

bool IsButtonMessage(UINT message)
{
    return (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) ||
        (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK);
}

void RegisterRecorderClass(WNDPROC procedure)
{
    static const ATOM atom = [procedure] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass);
    }();
    (void)atom;
}

} // namespace

ClickRecorder::ClickRecorder(const RECT& screenRect) : m_rect(screenRect)
{
    RegisterRecorderClass(Procedure);
    m_window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "click recorder", WS_POPUP | WS_VISIBLE, screenRect.left,
        screenRect.top, screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, nullptr, nullptr,
        GetModuleHandleA(nullptr), this);
    // The X server maps the window asynchronously: a click sent before that
    // would land on the root window.
    testing_support::PumpMessagesFor(300);
}

ClickRecorder::~ClickRecorder()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

POINT ClickRecorder::Centre() const
{
    return POINT{(m_rect.left + m_rect.right) / 2, (m_rect.top + m_rect.bottom) / 2};
}

bool ClickRecorder::WaitForMessages(size_t count, DWORD timeoutMs) const
{
    return testing_support::PumpMessagesUntil([&] { return m_messages.size() >= count; }, timeoutMs);
}

LRESULT CALLBACK ClickRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* recorder = reinterpret_cast<ClickRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (recorder != nullptr && IsButtonMessage(message))
        recorder->m_messages.push_back(message);
    if (recorder != nullptr && message == WM_KEYDOWN)
        recorder->m_keys.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string ButtonMessageNames(const std::vector<UINT>& messages)
{
    std::string names;
    for (UINT message : messages) {
        if (!names.empty())
            names += ' ';
        switch (message) {
        case WM_LBUTTONDOWN: names += "WM_LBUTTONDOWN"; break;
        case WM_LBUTTONUP: names += "WM_LBUTTONUP"; break;
        case WM_RBUTTONDOWN: names += "WM_RBUTTONDOWN"; break;
        case WM_RBUTTONUP: names += "WM_RBUTTONUP"; break;
        case WM_MBUTTONDOWN: names += "WM_MBUTTONDOWN"; break;
        case WM_MBUTTONUP: names += "WM_MBUTTONUP"; break;
        case WM_XBUTTONDOWN: names += "WM_XBUTTONDOWN"; break;
        case WM_XBUTTONUP: names += "WM_XBUTTONUP"; break;
        default: names += "message " + std::to_string(message); break;
        }
    }
    return names.empty() ? "(none)" : names;
}

} // namespace e2e
