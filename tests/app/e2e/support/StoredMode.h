#pragma once

// The program's per-user store, HKEY_CURRENT_USER\Software\Vantrel, read and
// written directly: the program runs in the same Wine prefix, so the test sees
// exactly what it stored.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr char kProgramKeyPath[] = "Software\\Vantrel";
inline constexpr char kModeValueName[] = "Mode";

struct RegistryData {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    // The bytes as text, up to the first zero byte.
    std::string Text() const;
};

// A REG_DWORD of this number.
RegistryData Dword(DWORD number);

// Null when the key or the value does not exist; view may add KEY_WOW64_32KEY
// or KEY_WOW64_64KEY.
std::optional<RegistryData> ReadRegistryValue(HKEY root, const std::string& keyPath, const std::string& name,
    REGSAM view = 0);
// The same for writing (the key is created when needed) and deleting; a
// deleted key takes everything below it, and one that was not there counts
// as deleted.
bool WriteRegistryValue(HKEY root, const std::string& keyPath, const std::string& name, const RegistryData& data,
    REGSAM view);
bool DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& name, REGSAM view);
bool DeleteRegistryKey(HKEY root, const std::string& keyPath, REGSAM view);

// The registry view that this build's programs see as their own, and so the
// one where Vantrel.exe /INSTALL and this build's package keep the Run value:
// a 32-bit program's HKLM\Software is the 32-bit view (WOW6432Node on 64-bit
// Windows). Every machine-wide value a test reads or writes is named with its
// view, since the 32-bit test programs would otherwise see only that one.
inline constexpr REGSAM kProgramsOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

bool ProgramKeyExists();
// Null when the key or the value does not exist.
std::optional<RegistryData> ReadStoredMode();
std::optional<RegistryData> ReadProgramValue(const std::string& name);
// Pumps messages until the mode is stored as exactly this text (REG_SZ with
// its terminator), at most timeoutMs; a failure says what is stored.
::testing::AssertionResult StoredModeBecomes(const std::string& text, DWORD timeoutMs);
// Create the key when needed. A REG_SZ text is stored with its terminator;
// data is stored as exactly its bytes, also string data without a terminator.
bool StoreModeText(const std::string& text);
bool StoreModeData(const RegistryData& data);
bool StoreProgramValue(const std::string& name, const RegistryData& data);
bool DeleteStoredMode();
bool DeleteProgramKey();

// Takes the key away for one test and gives it back afterwards, also when the
// test fails: its values are remembered, the key is deleted, and at the end
// whatever the test left is deleted and the remembered key written back.
class ProgramKeyGuard {
public:
    ProgramKeyGuard();
    ~ProgramKeyGuard();
    ProgramKeyGuard(const ProgramKeyGuard&) = delete;
    ProgramKeyGuard& operator=(const ProgramKeyGuard&) = delete;

private:
    struct NamedValue {
        std::string name;
        RegistryData data;
    };

    bool m_keyExisted = false;
    std::vector<NamedValue> m_values;
};

} // namespace e2e
