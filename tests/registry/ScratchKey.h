#pragma once

// A fixture that gives each test its own empty key under
// HKEY_CURRENT_USER\Software\VantrelTests, deleted before the test (the
// leftovers of a crashed run) and after it, also when the test fails.
// Values are written and read here with the registry functions themselves,
// so that the tests see exactly what the library stored.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RawValue {
    LONG result = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    std::string Text() const { return std::string(data.begin(), data.end()); }
};

// Values as an administrator or a deployment tool may have written them where
// Vantrel keeps its Run value: of a type other than REG_SZ, empty REG_BINARY,
// or text of 3000 bytes. Each level that removes that value removes these.
struct ForeignValue {
    const char* what;
    DWORD type;
    std::string bytes;
};
inline const ForeignValue kForeignValues[] = {
    {"ExpandSz", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Vantrel.exe") + '\0'},
    {"EmptyBinary", REG_BINARY, ""},
    {"Qword", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
    {"None", REG_NONE, "none"},
    {"LongSz", REG_SZ, std::string(2999, 'v') + '\0'},
};

class ScratchKeyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scratch key's path under HKEY_CURRENT_USER, and paths below it.
    const std::string& Path() const { return m_path; }
    std::string ChildPath(const std::string& child) const { return m_path + "\\" + child; }
    HKEY Root() const { return m_root; }

    // Creates a key below the scratch key; the fixture closes it.
    HKEY CreateChild(const std::string& child);

    // Stores exactly size bytes: the byte after the data is made non-zero,
    // which keeps the registry from counting a terminator the data lacks.
    void WriteRaw(const char* name, DWORD type, const void* data, DWORD size, HKEY key = nullptr);
    void WriteText(const char* name, const std::string& text, HKEY key = nullptr);
    void WriteDword(const char* name, DWORD value, HKEY key = nullptr);
    RawValue ReadRaw(const char* name, HKEY key = nullptr) const;
    bool Exists(const char* name, HKEY key = nullptr) const;
    void DeleteRaw(const char* name, HKEY key = nullptr);

private:
    std::string m_path;
    HKEY m_root = nullptr;
    std::vector<HKEY> m_children;
};

// Gives a key a DACL that lets everyone open it with exactly the access mask
// allowed and nothing more, and puts the old DACL back at the end of scope
// (through a handle opened before the change, so the scratch key can still
// be deleted).
class RestrictedKeyAccess {
public:
    RestrictedKeyAccess(HKEY parent, const std::string& path, REGSAM allowed);
    ~RestrictedKeyAccess();

    RestrictedKeyAccess(const RestrictedKeyAccess&) = delete;
    RestrictedKeyAccess& operator=(const RestrictedKeyAccess&) = delete;

    bool Applied() const { return m_applied; }

private:
    HKEY m_key = nullptr;
    std::vector<BYTE> m_savedDescriptor;
    bool m_applied = false;
};
