#include "MenuReader.h"

#include "ProbeCall.h"
#include "ProgramWindows.h"
#include "TestSupport.h"

#include <cstddef>
#include <memory>
#include <sstream>

namespace e2e {

namespace {

constexpr char kMenuWindowClass[] = "#32768";

} // namespace

const MenuItemState* MenuReading::Find(UINT id) const
{
    for (const MenuItemState& item : items) {
        if (item.id == id && !item.separator && !item.popup)
            return &item;
    }
    return nullptr;
}

const MenuItemState* MenuReading::FindPopup(const std::string& text) const
{
    for (const MenuItemState& item : items) {
        if (item.popup && item.text == text)
            return &item;
    }
    return nullptr;
}

bool MenuReading::IsChecked(UINT id) const
{
    const MenuItemState* item = Find(id);
    return item != nullptr && item->checked;
}

std::string MenuReading::Describe() const
{
    if (!Succeeded())
        return "(menu not read: " + failure + ")";
    std::string text;
    for (const MenuItemState& item : items) {
        text += std::string(static_cast<size_t>(item.depth) * 2, ' ');
        if (item.separator) {
            text += "----\n";
            continue;
        }
        text += (item.checked ? "[x] " : "[ ] ") + item.text;
        // A popup's identifier is its menu handle: not worth showing.
        if (!item.popup)
            text += " (" + std::to_string(item.id) + ")";
        text += item.greyed ? " greyed\n" : "\n";
    }
    return text;
}

namespace {

MenuReading ReadMenu(HANDLE process, MenuSource source, HWND window)
{
    MenuReading reading;
    if (window == nullptr) {
        reading.failure = "no window";
        return reading;
    }
    auto request = std::make_unique<MenuProbeRequest>();
    request->source = source;
    request->window = reinterpret_cast<UINT_PTR>(window);
    DWORD result = 0;
    reading.failure = CallProbe(process, kMenuProbeExportName, request.get(), sizeof *request, result);
    if (!reading.Succeeded())
        return reading;
    if (result != 1) {
        reading.failure = "the window has no menu";
        return reading;
    }

    request->report[sizeof request->report - 1] = 0;
    std::istringstream lines(request->report);
    MenuItemState item;
    std::string flags;
    while (lines >> item.depth >> item.id >> flags >> item.screenRect.left >> item.screenRect.top >>
        item.screenRect.right >> item.screenRect.bottom) {
        lines.get();
        std::getline(lines, item.text);
        item.checked = flags.find('C') != std::string::npos;
        item.greyed = flags.find('G') != std::string::npos;
        item.separator = flags.find('S') != std::string::npos;
        item.popup = flags.find('P') != std::string::npos;
        reading.items.push_back(item);
    }
    return reading;
}

} // namespace

MenuReading ReadOpenMenu(HANDLE process, HWND menuWindow)
{
    return ReadMenu(process, MenuSource::PopupMenuWindow, menuWindow);
}

MenuReading ReadSystemMenu(HANDLE process, HWND window)
{
    return ReadMenu(process, MenuSource::SystemMenu, window);
}

HWND FindOpenMenuWindow(DWORD processId)
{
    HWND found = nullptr;
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && ClassNameOf(window) == kMenuWindowClass)
            found = window;
    }
    return found;
}

HWND WaitForOpenMenuWindow(DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    testing_support::PumpMessagesUntil([&] { return (found = FindOpenMenuWindow(processId)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<std::string> LoadedModuleNames(DWORD processId)
{
    std::vector<std::string> names;
    for (const MODULEENTRY32& module : LoadedModules(processId))
        names.emplace_back(module.szModule);
    return names;
}

std::vector<std::string> LoadedModulePaths(DWORD processId)
{
    std::vector<std::string> paths;
    for (const MODULEENTRY32& module : LoadedModules(processId))
        paths.emplace_back(module.szExePath);
    return paths;
}

} // namespace e2e
