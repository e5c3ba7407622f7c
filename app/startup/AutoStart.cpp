#include "AutoStart.h"

#include "RegistryKey.h"

namespace {

constexpr REGSAM kRunKeyAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

} // namespace

AutoStartEntry MachineAutoStartEntry()
{
    return {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Vantrel"};
}

std::string AutoStartCommand(const std::string& programPath)
{
    if (programPath.find(' ') == std::string::npos)
        return programPath;
    return '"' + programPath + '"';
}

bool InstallAutoStart(const AutoStartEntry& entry, const std::string& programPath)
{
    // A cut path would name another file: better no entry than a wrong one.
    if (programPath.empty())
        return false;
    RegistryKey key(REGKEY_CREATE);
    key.Open(entry.keyPath, entry.root, kRunKeyAccess, false);
    RegistryValue* value = key.Value(entry.valueName);
    value->SetString(AutoStartCommand(programPath).c_str());
    key.Close();
    return value->m_writeResult == ERROR_SUCCESS;
}

bool UninstallAutoStart(const AutoStartEntry& entry)
{
    RegistryKey key(0);
    key.Open(entry.keyPath, entry.root, kRunKeyAccess, false);
    if (key.m_hKey == nullptr)
        // No Run key at all: nothing to remove. Anything else is a failure.
        return key.m_openResult == ERROR_FILE_NOT_FOUND;
    // Deleted by name, not through the cache: the cache never holds a value
    // of a type it has no place for (REG_EXPAND_SZ, as a deployment tool may
    // write it) or one too long for its loader, and such a value starts the
    // program at logon all the same.
    const LONG result = key.DeleteValue(entry.valueName);
    key.Close();
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
