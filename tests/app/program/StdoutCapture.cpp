#include "StdoutCapture.h"

#include "TestSupport.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

std::string CaptureStdout(const std::function<void()>& action)
{
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "out", 0, path);

    std::fflush(stdout);
    const int saved = _dup(1);
    const int file = _open(path, _O_WRONLY | _O_TRUNC | _O_TEXT);
    _dup2(file, 1);
    _close(file);
    action();
    std::fflush(stdout);
    _dup2(saved, 1);
    _close(saved);

    const std::string text = testing_support::FileBytes(path);
    DeleteFileA(path);
    return text;
}
