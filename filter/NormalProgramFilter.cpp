#include "NormalProgramFilter.h"

#include "MouseFilter.h"
#include "NormalProgramRule.h"
#include "WindowProgram.h"

namespace {

// Constant-initialised, like all of the library's data: no constructors run.
NormalProgramList g_normalPrograms;
ProgramNameCache g_programNames;
// Scratch room for an executable's full path, as long as the system makes
// one: a static block, since the hook's stack may not grow by pages unprobed
// in a library without the runtime.
WCHAR g_imagePath[32768];

// The folded file name of the program whose window is at that point; empty
// when the process would not tell, null when there is no window.
const WCHAR* ProgramNameAt(POINT where)
{
    const HWND window = WindowFromPoint(where);
    if (window == nullptr)
        return nullptr;
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (threadId == 0)
        return nullptr;
    if (const WCHAR* known = g_programNames.Find(processId, threadId))
        return known;
    WCHAR* const name = g_programNames.Replace(processId, threadId);
    const UINT length = ProgramFileNameOf(processId, g_imagePath, sizeof g_imagePath / sizeof g_imagePath[0], name);
    FoldProgramName(name, length);
    return name;
}

} // namespace

bool NormalProgramPressPasses(POINT where)
{
    if (g_normalPrograms.IsEmpty())
        return false;
    const WCHAR* const name = ProgramNameAt(where);
    return name != nullptr && name[0] != 0 && g_normalPrograms.Contains(name);
}

extern "C" DWORD WINAPI SetNormalPrograms(const WCHAR* names, DWORD length)
{
    return g_normalPrograms.Assign(names, names != nullptr ? length : 0, FoldProgramName);
}
