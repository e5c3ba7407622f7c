#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The program keeps its mode under HKEY_CURRENT_USER\Software\Vantrel. Tests
// that run the real main window use that key: this guard copies it away when
// it is made and puts it back exactly (or deletes it, if there was none) when
// it ends, also when a test fails.
class SettingsKeyGuard {
public:
    static constexpr char kPath[] = "Software\\Vantrel";

    SettingsKeyGuard();
    ~SettingsKeyGuard();
    SettingsKeyGuard(const SettingsKeyGuard&) = delete;
    SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

    // Removes the key with everything in it.
    static void DeleteKey();
    static bool KeyExists();
    // Creates the key without any value.
    static void CreateKey();
    // Creates the key if needed and stores one value of "Mode" exactly.
    static void WriteMode(DWORD type, const void* data, DWORD size);
    static void WriteModeText(const std::string& text);

    struct Mode {
        bool exists = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        std::string Text() const;
    };
    static Mode ReadMode();

private:
    static constexpr char kBackupPath[] = "Software\\VantrelTestBackup";
    bool m_hadKey = false;
};
