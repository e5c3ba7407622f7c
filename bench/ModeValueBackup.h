#pragma once

// Keeps the per-user "Mode" value of HKCU\Software\Vantrel as the benchmark
// found it: saved at construction, put back at destruction, whatever was
// written in between, so that a run leaves the user's setting alone.

#include <windows.h>

#include <vector>

class ModeValueBackup {
public:
    ModeValueBackup();
    ~ModeValueBackup();
    ModeValueBackup(const ModeValueBackup&) = delete;
    ModeValueBackup& operator=(const ModeValueBackup&) = delete;

    // The original state could be read; nothing is changed otherwise.
    bool Saved() const { return m_saved; }
    // Writes "Mode" as REG_SZ, creating the key when it is missing.
    bool StoreMode(const char* text);
    // Deletes "Mode" and leaves the key.
    bool ClearMode();

private:
    void Restore();

    bool m_saved = false;
    bool m_keyExisted = false;
    bool m_valueExisted = false;
    DWORD m_type = REG_NONE;
    std::vector<BYTE> m_data;
};
