#include "RunningPrograms.h"

#include "NormalPrograms.h"
#include "WindowProgram.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr DWORD kPathSize = 32768;

// The executable's own FileDescription, in the first language its version
// resource lists.
std::wstring FileDescription(const wchar_t* path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return {};
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) || length < sizeof(Translation))
        return {};
    const auto* translation = static_cast<const Translation*>(found);
    wchar_t query[64] = {};
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\FileDescription", translation->language, translation->codePage);
    if (!VerQueryValueW(block.data(), query, &found, &length) || length == 0)
        return {};
    const auto* text = static_cast<const wchar_t*>(found);
    return std::wstring(text, std::find(text, text + length, L'\0'));
}

BOOL CALLBACK AddWindowProgram(HWND window, LPARAM context)
{
    auto& programs = *reinterpret_cast<std::vector<RunningProgram>*>(context);
    DWORD processId = 0;
    if (!IsWindowVisible(window) || GetWindowThreadProcessId(window, &processId) == 0)
        return TRUE;
    std::vector<wchar_t> path(kPathSize);
    wchar_t name[kMaxProgramNameLength + 1] = {};
    if (ProgramFileNameOf(processId, path.data(), kPathSize, name) == 0)
        return TRUE;
    const std::wstring fileName = name;
    const bool known = std::any_of(programs.begin(), programs.end(),
        [&fileName](const RunningProgram& program) { return SameProgramName(program.fileName, fileName); });
    if (!known)
        programs.push_back(RunningProgram{fileName, FileDescription(path.data())});
    return TRUE;
}

} // namespace

std::vector<RunningProgram> ProgramsWithVisibleWindows()
{
    std::vector<RunningProgram> programs;
    EnumWindows(AddWindowProgram, reinterpret_cast<LPARAM>(&programs));
    return programs;
}
