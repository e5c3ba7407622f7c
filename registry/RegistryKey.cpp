#include "RegistryKey.h"

#include "MultibyteText.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// An entry's own copy of a value name, cut to what an entry keeps.
std::unique_ptr<char[]> CopyValueName(const char* name)
{
    const size_t length = strnlen(name, RegistryKey::kNameCopySize - 1);
    auto copy = std::make_unique<char[]>(length + 1);
    multibyte::CopyBytes(copy.get(), name, length);
    copy[length] = '\0';
    return copy;
}

std::unique_ptr<char[]> CopyPath(const char* path)
{
    const size_t size = std::strlen(path) + 1;
    auto copy = std::make_unique<char[]>(size);
    std::memcpy(copy.get(), path, size);
    return copy;
}

// While the cache is filled, the setters must neither write back what was
// just read nor close the handle that the enumeration still needs. The saved
// word comes back however the load ends.
class LoadingFlags {
public:
    explicit LoadingFlags(DWORD& flags) : m_flags(flags), m_saved(flags)
    {
        m_flags = (m_flags & ~DWORD{REGKEY_ON_DEMAND}) | REGKEY_LOADING;
    }
    ~LoadingFlags() { m_flags = m_saved; }

    LoadingFlags(const LoadingFlags&) = delete;
    LoadingFlags& operator=(const LoadingFlags&) = delete;

private:
    DWORD& m_flags;
    const DWORD m_saved;
};

} // namespace

RegistryKey::RegistryKey(DWORD flags) : m_flags(flags) {}

RegistryKey::~RegistryKey()
{
    Close();
}

bool RegistryKey::Open(const char* subKey, HKEY parent, REGSAM access, bool reopen)
{
    if (!reopen) {
        // The cache belongs to the path alone: the same path under another
        // parent keeps it, and the new key's values are loaded over it.
        if (!m_subKey || multibyte::CompareNoCase(subKey, m_subKey.get()) != 0) {
            ForgetPathAndCache();
            m_subKey = CopyPath(subKey);
        }
        m_parent = parent;
    }
    Close();

    REGSAM mask = access;
    if ((m_flags & REGKEY_ON_DEMAND) && !reopen)
        // The fresh open of an on-demand key only loads; each later write
        // re-opens with the access it needs.
        mask = KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY;
    else if (m_flags & REGKEY_CREATE)
        mask = access | KEY_CREATE_SUB_KEY;

    LONG result;
    if (m_flags & REGKEY_CREATE)
        result = RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, mask, nullptr, &m_hKey,
            nullptr);
    else
        result = RegOpenKeyExA(parent, subKey, 0, mask, &m_hKey);
    m_openResult = result;
    if (result != ERROR_SUCCESS) {
        m_hKey = nullptr;
        return false;
    }
    return reopen || LoadValues();
}

LONG RegistryKey::Close()
{
    if (m_hKey == nullptr)
        return ERROR_SUCCESS;
    const LONG result = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return result;
}

RegistryValue* RegistryKey::Value(const char* name)
{
    if (RegistryValue* const cached = FindValue(name))
        return cached;
    m_values.push_back(std::unique_ptr<RegistryValue>(new RegistryValue(this, CopyValueName(name))));
    return m_values.back().get();
}

RegistryValue* RegistryKey::FindValue(const char* name) const
{
    // Compared in the form the entry would keep, so that a name too long to
    // keep whole still finds the entry made for it.
    const std::unique_ptr<char[]> nameCopy = CopyValueName(name);
    for (auto entry = m_values.rbegin(); entry != m_values.rend(); ++entry) {
        if (multibyte::CompareNoCase((*entry)->m_name.get(), nameCopy.get()) == 0)
            return entry->get();
    }
    return nullptr;
}

LONG RegistryKey::DeleteValue(const char* name)
{
    if (RegistryValue* const cached = FindValue(name))
        cached->m_exists = false;
    return DeleteFromRegistry(name);
}

LONG RegistryKey::DeleteFromRegistry(const char* name)
{
    if (!EnsureOpen(KEY_SET_VALUE) || m_hKey == nullptr)
        return ERROR_INVALID_HANDLE;
    const LONG result = RegDeleteValueA(m_hKey, name);
    CloseIfOnDemand();
    return result;
}

bool RegistryKey::LoadValues()
{
    if ((m_flags & REGKEY_ON_DEMAND) && !EnsureOpen(KEY_QUERY_VALUE))
        return false;
    if (m_hKey == nullptr)
        return false;
    DWORD valueCount = 0;
    if (RegQueryInfoKeyA(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr, nullptr,
            nullptr, nullptr)
        != ERROR_SUCCESS)
        return false;

    // One byte more than the registry is offered: text data that fills the
    // whole buffer arrives without a terminator, and this byte supplies one.
    std::vector<BYTE> data(kLoadDataBufferSize + 1);
    char name[kLoadNameBufferSize];
    {
        LoadingFlags loading(m_flags);
        if (valueCount > m_values.size())
            m_values.reserve(valueCount);
        for (DWORD index = 0; index < valueCount; ++index) {
            DWORD nameSize = kLoadNameBufferSize;
            DWORD dataSize = kLoadDataBufferSize;
            DWORD type = REG_NONE;
            name[0] = '\0';
            // Fails, and the value is skipped, when the name or the data does
            // not fit, or when the value went away meanwhile.
            if (RegEnumValueA(m_hKey, index, name, &nameSize, nullptr, &type, data.data(), &dataSize)
                != ERROR_SUCCESS)
                continue;
            name[std::min(nameSize, kLoadNameBufferSize - 1)] = '\0';
            dataSize = std::min(dataSize, kLoadDataBufferSize);
            // Wine leaves the buffer as it was for empty text data: whatever
            // an earlier value left there must not become this value's text.
            data[dataSize] = 0;
            LoadValue(name, type, data.data(), dataSize);
        }
    }
    CloseIfOnDemand();
    return true;
}

bool RegistryKey::EnsureOpen(REGSAM access)
{
    if (m_hKey != nullptr || !(m_flags & REGKEY_ON_DEMAND))
        return true;
    // Before the first Open there is no key to go back to.
    if (!m_subKey)
        return false;
    return Open(m_subKey.get(), m_parent, access, true);
}

void RegistryKey::LoadValue(const char* name, DWORD type, const BYTE* data, DWORD size)
{
    switch (type) {
    case REG_SZ:
        Value(name)->SetString(reinterpret_cast<const char*>(data));
        break;
    case REG_BINARY:
        Value(name)->SetBinary(data, size);
        break;
    case REG_DWORD: {
        // Shorter data fills only the low bytes: the buffer's later bytes
        // belong to earlier values.
        DWORD number = 0;
        std::memcpy(&number, data, std::min<DWORD>(size, sizeof number));
        Value(name)->SetDword(number);
        break;
    }
    case REG_MULTI_SZ:
        Value(name)->SetMultiString(reinterpret_cast<const char*>(data), size, false);
        break;
    default:
        // REG_EXPAND_SZ, REG_QWORD and the rest have no place in the cache.
        break;
    }
}

void RegistryKey::ForgetPathAndCache()
{
    if (!m_subKey)
        return;
    m_values.clear();
    m_values.shrink_to_fit();
    m_subKey.reset();
}

void RegistryKey::CloseIfOnDemand()
{
    if (m_flags & REGKEY_ON_DEMAND)
        Close();
}
