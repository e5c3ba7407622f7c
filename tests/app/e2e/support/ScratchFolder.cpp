#include "ScratchFolder.h"

#include <windows.h>

namespace e2e {

ScratchFolder::ScratchFolder()
{
    char temporary[MAX_PATH] = {};
    GetTempPathA(sizeof temporary, temporary);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = std::string(temporary) + "vantrel-e2e-" + std::to_string(GetCurrentProcessId()) +
            "-" + std::to_string(GetTickCount64()) + "-" + std::to_string(attempt) + "\\";
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
}

ScratchFolder::~ScratchFolder()
{
    if (m_path.empty())
        return;
    WIN32_FIND_DATAA entry{};
    const HANDLE search = FindFirstFileA((m_path + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + entry.cFileName).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

bool ScratchFolder::CopyIn(const std::string& sourcePath, const std::string& name) const
{
    return !m_path.empty() && CopyFileA(sourcePath.c_str(), (m_path + name).c_str(), FALSE);
}

} // namespace e2e
