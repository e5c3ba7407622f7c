#include "SettingsKeyGuard.h"

namespace {

bool CopyKey(const char* from, const char* to)
{
    HKEY source = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS)
        return false;
    HKEY target = nullptr;
    bool copied = false;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
        ERROR_SUCCESS) {
        copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
        RegCloseKey(target);
    }
    RegCloseKey(source);
    return copied;
}

} // namespace

SettingsKeyGuard::SettingsKeyGuard()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupPath);
    m_hadKey = CopyKey(kPath, kBackupPath);
}

SettingsKeyGuard::~SettingsKeyGuard()
{
    DeleteKey();
    if (m_hadKey) {
        CopyKey(kBackupPath, kPath);
        RegDeleteTreeA(HKEY_CURRENT_USER, kBackupPath);
    }
}

void SettingsKeyGuard::DeleteKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
}

bool SettingsKeyGuard::KeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SettingsKeyGuard::CreateKey()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

void SettingsKeyGuard::WriteMode(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Mode", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SettingsKeyGuard::WriteModeText(const std::string& text)
{
    WriteMode(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

SettingsKeyGuard::Mode SettingsKeyGuard::ReadMode()
{
    Mode mode;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return mode;
    DWORD size = 0;
    if (RegQueryValueExA(key, "Mode", nullptr, &mode.type, nullptr, &size) == ERROR_SUCCESS) {
        mode.data.resize(size);
        mode.exists = RegQueryValueExA(key, "Mode", nullptr, &mode.type, mode.data.data(), &size) == ERROR_SUCCESS;
        mode.data.resize(size);
    }
    RegCloseKey(key);
    return mode;
}

std::string SettingsKeyGuard::Mode::Text() const
{
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
}
