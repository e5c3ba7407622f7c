#pragma once

// Windows Installer packages as an administrator meets them: msiexec run with
// a command line, the entries in Apps & Features, the machine's Run value and
// the folders the package writes to.

#include "StoredMode.h"
#include "TestSupport.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Runs msiexec with these arguments and waits for it. Its exit status, or -1
// when it could not start or did not end in time.
int RunMsiexec(const std::string& arguments, DWORD timeoutMs);

// A subkey of HKLM\...\CurrentVersion\Uninstall: one entry of Apps & Features.
struct UninstallEntry {
    std::string keyName;
    std::string displayName;
    std::string displayVersion;
    std::string publisher;
    std::string uninstallString;
};
// The entries whose DisplayName is this name, in both registry views.
std::vector<UninstallEntry> UninstallEntriesNamed(const std::string& displayName);

// The registered products of Windows Installer with this name: the icon
// Apps & Features shows (ProductIcon, a file path), or empty.
std::string ProductIconOf(const std::string& productName);

// HKLM\Software\Microsoft\Windows\CurrentVersion\Run, value "Vantrel", in
// that registry view (kProgramsOwnView: where this build's package writes it).
std::optional<RegistryData> ReadMachineRunValue(REGSAM view);

std::string KnownFolder(int csidl);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
using testing_support::FileBytes;

} // namespace e2e
