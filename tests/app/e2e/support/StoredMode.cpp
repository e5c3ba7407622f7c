#include "StoredMode.h"

#include "TestSupport.h"

namespace e2e {

namespace {

// Owns one open key.
class OpenKey {
public:
    OpenKey(REGSAM access, bool create)
    {
        const LSTATUS status = create
            ? RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKeyPath, 0, nullptr, 0, access, nullptr, &m_key, nullptr)
            : RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKeyPath, 0, access, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY Handle() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Exactly the given bytes: RegSetValueExA counts a terminator that string
// data leaves out when the byte after the data is zero, so the copy it is
// handed ends in a non-zero byte that is not part of the data.
bool WriteValue(HKEY key, const std::string& name, const RegistryData& data)
{
    std::vector<BYTE> guarded(data.bytes);
    guarded.push_back('#');
    return RegSetValueExA(key, name.c_str(), 0, data.type, guarded.data(), static_cast<DWORD>(data.bytes.size())) ==
        ERROR_SUCCESS;
}

} // namespace

std::string RegistryData::Text() const
{
    std::string text(bytes.begin(), bytes.end());
    return text.substr(0, text.find('\0'));
}

RegistryData Dword(DWORD number)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(&number);
    return RegistryData{REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof number)};
}

bool ProgramKeyExists()
{
    return OpenKey(KEY_QUERY_VALUE, false).Handle() != nullptr;
}

std::optional<RegistryData> ReadStoredMode()
{
    return ReadProgramValue(kModeValueName);
}

::testing::AssertionResult StoredModeBecomes(const std::string& text, DWORD timeoutMs)
{
    std::vector<BYTE> expected(text.begin(), text.end());
    expected.push_back(0);
    std::optional<RegistryData> stored;
    const auto matches = [&] {
        return (stored = ReadStoredMode()) && stored->type == REG_SZ && stored->bytes == expected;
    };
    if (testing_support::PumpMessagesUntil(matches, timeoutMs))
        return ::testing::AssertionSuccess();
    if (!stored)
        return ::testing::AssertionFailure() << "no Mode stored";
    return ::testing::AssertionFailure() << "Mode stored as type " << stored->type << ", text \"" << stored->Text()
                                         << "\", " << stored->bytes.size() << " bytes";
}

std::optional<RegistryData> ReadRegistryValue(HKEY root, const std::string& keyPath, const std::string& name,
    REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryData data;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &data.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        // Exactly the stored size: RegQueryValueExA adds no terminator then.
        data.bytes.resize(size);
        status = RegQueryValueExA(key, name.c_str(), nullptr, &data.type, data.bytes.data(), &size);
        data.bytes.resize(size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

bool WriteRegistryValue(HKEY root, const std::string& keyPath, const std::string& name, const RegistryData& data,
    REGSAM view)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool written = WriteValue(key, name, data);
    RegCloseKey(key);
    return written;
}

bool DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& name, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    const bool deleted = RegDeleteValueA(key, name.c_str()) == ERROR_SUCCESS;
    RegCloseKey(key);
    return deleted;
}

bool DeleteRegistryKey(HKEY root, const std::string& keyPath, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return true;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    return RegDeleteKeyExA(root, keyPath.c_str(), view, 0) == ERROR_SUCCESS;
}

std::optional<RegistryData> ReadProgramValue(const std::string& name)
{
    return ReadRegistryValue(HKEY_CURRENT_USER, kProgramKeyPath, name);
}

bool StoreModeText(const std::string& text)
{
    RegistryData data{REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
    data.bytes.push_back(0);
    return StoreModeData(data);
}

bool StoreModeData(const RegistryData& data)
{
    return StoreProgramValue(kModeValueName, data);
}

bool StoreProgramValue(const std::string& name, const RegistryData& data)
{
    const OpenKey key(KEY_SET_VALUE, true);
    return key.Handle() != nullptr && WriteValue(key.Handle(), name, data);
}

bool DeleteStoredMode()
{
    const OpenKey key(KEY_SET_VALUE, false);
    return key.Handle() != nullptr && RegDeleteValueA(key.Handle(), kModeValueName) == ERROR_SUCCESS;
}

bool DeleteProgramKey()
{
    const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKeyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

ProgramKeyGuard::ProgramKeyGuard()
{
    const OpenKey key(KEY_QUERY_VALUE, false);
    m_keyExisted = key.Handle() != nullptr;
    for (DWORD index = 0; m_keyExisted; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        if (RegEnumValueA(key.Handle(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (std::optional<RegistryData> data = ReadProgramValue(std::string(name, nameLength)))
            m_values.push_back(NamedValue{std::string(name, nameLength), *data});
    }
    DeleteProgramKey();
}

ProgramKeyGuard::~ProgramKeyGuard()
{
    DeleteProgramKey();
    if (!m_keyExisted)
        return;
    const OpenKey key(KEY_SET_VALUE, true);
    for (const NamedValue& value : m_values)
        WriteValue(key.Handle(), value.name, value.data);
}

} // namespace e2e
