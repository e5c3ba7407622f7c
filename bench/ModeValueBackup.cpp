#include "ModeValueBackup.h"

#include <cstring>

namespace {

constexpr char kKeyPath[] = "Software\\Vantrel";
constexpr char kValueName[] = "Mode";
// A stored mode is a few characters; anything longer is still kept whole, up
// to this bound.
constexpr DWORD kLargestValue = 64 * 1024;

// Opens or creates the key for writing; null on failure. The caller closes it.
HKEY OpenKeyForWriting(bool create)
{
    HKEY key = nullptr;
    const LSTATUS status = create
        ? RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
        : RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_SET_VALUE, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

ModeValueBackup::ModeValueBackup()
{
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        m_saved = true;
        return;
    }
    if (opened != ERROR_SUCCESS)
        return;
    m_keyExisted = true;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExA(key, kValueName, nullptr, &m_type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        m_saved = true;
    } else if (status == ERROR_SUCCESS && size <= kLargestValue) {
        m_data.resize(size);
        status = RegQueryValueExA(key, kValueName, nullptr, &m_type, m_data.empty() ? nullptr : m_data.data(), &size);
        if (status == ERROR_SUCCESS) {
            m_data.resize(size);
            m_valueExisted = true;
            m_saved = true;
        }
    }
    RegCloseKey(key);
}

ModeValueBackup::~ModeValueBackup()
{
    if (m_saved)
        Restore();
}

bool ModeValueBackup::StoreMode(const char* text)
{
    if (!m_saved)
        return false;
    const HKEY key = OpenKeyForWriting(true);
    if (key == nullptr)
        return false;
    const LSTATUS status = RegSetValueExA(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
        static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool ModeValueBackup::ClearMode()
{
    if (!m_saved)
        return false;
    const HKEY key = OpenKeyForWriting(false);
    if (key == nullptr)
        return true; // no key, so no value
    const LSTATUS status = RegDeleteValueA(key, kValueName);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

void ModeValueBackup::Restore()
{
    if (!m_keyExisted) {
        // Created by this run (or by the program it started): remove it again.
        RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath);
        return;
    }
    const HKEY key = OpenKeyForWriting(false);
    if (key == nullptr)
        return;
    if (m_valueExisted)
        RegSetValueExA(key, kValueName, 0, m_type, m_data.empty() ? nullptr : m_data.data(),
            static_cast<DWORD>(m_data.size()));
    else
        RegDeleteValueA(key, kValueName);
    RegCloseKey(key);
}
