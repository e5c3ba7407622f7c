// Loaded into the program under test, where its menus can be read: a menu
// handle means nothing in another process (GetMenuItemCount answers -1 there).
// The test starts ReadOpenMenu on a thread of its own in the program; the menu
// window belongs to the program's GUI thread, which keeps answering sent
// messages while TrackPopupMenu's loop runs.

#include "MenuProbeRequest.h"

#include <cstdio>

namespace {

// MN_GETHMENU is not in every header set.
constexpr UINT kGetMenuHandleMessage = 0x01E1;
constexpr UINT kAnswerTimeoutMs = 2000;

class ReportWriter {
public:
    explicit ReportWriter(char* buffer, size_t size) : m_buffer(buffer), m_size(size) { m_buffer[0] = 0; }

    void Line(int depth, UINT id, const char* flags, const RECT& rect, const char* text)
    {
        if (m_used >= m_size)
            return;
        const int written = std::snprintf(m_buffer + m_used, m_size - m_used, "%d %u %s %ld %ld %ld %ld %s\n", depth,
            id, flags, static_cast<long>(rect.left), static_cast<long>(rect.top), static_cast<long>(rect.right),
            static_cast<long>(rect.bottom), text);
        if (written > 0)
            m_used += static_cast<size_t>(written);
    }

private:
    char* m_buffer;
    size_t m_size;
    size_t m_used = 0;
};

void DescribeMenu(HMENU menu, int depth, ReportWriter& writer)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[256] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(sizeof text - 1);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item))
            continue;
        char flags[8] = {};
        size_t used = 0;
        if (item.fState & MFS_CHECKED)
            flags[used++] = 'C';
        if (item.fState & MFS_GRAYED)
            flags[used++] = 'G';
        if (item.fType & MFT_SEPARATOR)
            flags[used++] = 'S';
        if (item.hSubMenu != nullptr)
            flags[used++] = 'P';
        if (used == 0)
            flags[used++] = '-';
        // A shown popup menu knows its window, so no window is named here.
        RECT rect{};
        if (!GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &rect))
            rect = RECT{};
        writer.Line(depth, item.wID, flags, rect, text);
        if (item.hSubMenu != nullptr)
            DescribeMenu(item.hSubMenu, depth + 1, writer);
    }
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI ReadOpenMenu(MenuProbeRequest* request);

DWORD WINAPI ReadOpenMenu(MenuProbeRequest* request)
{
    ReportWriter writer(request->report, sizeof request->report);
    const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(request->window));
    HMENU menu = nullptr;
    if (request->source == MenuSource::SystemMenu) {
        menu = GetSystemMenu(window, FALSE);
    } else {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, kGetMenuHandleMessage, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer))
            menu = reinterpret_cast<HMENU>(answer);
    }
    if (menu == nullptr)
        return 0;
    DescribeMenu(menu, 0, writer);
    return 1;
}
