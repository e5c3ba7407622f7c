#include "WindowsInstaller.h"

#include "TestSupport.h"

#include <shlobj.h>

namespace e2e {

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kProductsKey[] = "Software\\Classes\\Installer\\Products";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValueName[] = "Vantrel";

std::string TextValue(HKEY root, const std::string& keyPath, const std::string& name, REGSAM view)
{
    const std::optional<RegistryData> data = ReadRegistryValue(root, keyPath, name, view);
    return data ? data->Text() : std::string();
}

std::vector<std::string> SubkeyNames(HKEY root, const char* keyPath, REGSAM view)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_ENUMERATE_SUB_KEYS | view, &key) != ERROR_SUCCESS)
        return names;
    char name[256] = {};
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

} // namespace

int RunMsiexec(const std::string& arguments, DWORD timeoutMs)
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    return testing_support::RunProgram(std::string(system) + "\\msiexec.exe", arguments, timeoutMs);
}

std::vector<UninstallEntry> UninstallEntriesNamed(const std::string& displayName)
{
    // A 32-bit package's entry lies in the 32-bit view.
    std::vector<UninstallEntry> entries;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        for (const std::string& name : SubkeyNames(HKEY_LOCAL_MACHINE, kUninstallKey, view)) {
            const std::string path = std::string(kUninstallKey) + "\\" + name;
            const auto text = [&](const char* value) { return TextValue(HKEY_LOCAL_MACHINE, path, value, view); };
            if (text("DisplayName") == displayName)
                entries.push_back({name, displayName, text("DisplayVersion"), text("Publisher"), text("UninstallString")});
        }
    }
    return entries;
}

std::string ProductIconOf(const std::string& productName)
{
    // Windows Installer's registration, which both views share.
    for (const std::string& name : SubkeyNames(HKEY_LOCAL_MACHINE, kProductsKey, KEY_WOW64_64KEY)) {
        const std::string path = std::string(kProductsKey) + "\\" + name;
        if (TextValue(HKEY_LOCAL_MACHINE, path, "ProductName", KEY_WOW64_64KEY) == productName)
            return TextValue(HKEY_LOCAL_MACHINE, path, "ProductIcon", KEY_WOW64_64KEY);
    }
    return {};
}

std::optional<RegistryData> ReadMachineRunValue(REGSAM view)
{
    return ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, view);
}

std::string KnownFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace e2e
