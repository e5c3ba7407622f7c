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

std::optional<RegistryData> ReadProgramValue(const std::string& name)
{
    const OpenKey key(KEY_QUERY_VALUE, false);
    if (key.Handle() == nullptr)
        return std::nullopt;
    RegistryData data;
    DWORD size = 0;
    if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &data.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Exactly the stored size: RegQueryValueExA adds no terminator then.
    data.bytes.resize(size);
    if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &data.type, data.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(size);
    return data;
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
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key.Handle(), index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        NamedValue value{std::string(name, nameLength), RegistryData{type, std::vector<BYTE>(size)}};
        if (RegQueryValueExA(key.Handle(), value.name.c_str(), nullptr, &value.data.type, value.data.bytes.data(),
                &size) == ERROR_SUCCESS) {
            value.data.bytes.resize(size);
            m_values.push_back(value);
        }
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
