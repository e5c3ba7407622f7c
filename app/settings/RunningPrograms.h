#pragma once

// The programs that show a window on the desktop now, named as the filter
// names them (WindowProgram.h), with their own descriptions.

#include <string>
#include <vector>

struct RunningProgram {
    std::wstring fileName;
    // The FileDescription of the executable's version resource; empty when
    // it has none.
    std::wstring description;
};

// One entry per program (letter case ignored), in no particular order.
std::vector<RunningProgram> ProgramsWithVisibleWindows();
