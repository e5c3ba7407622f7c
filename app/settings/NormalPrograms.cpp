#include "NormalPrograms.h"

#include "NormalProgramRule.h"
#include "WindowProgram.h"

#include <algorithm>

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Vantrel";
constexpr wchar_t kValueName[] = L"NormalPrograms";
constexpr wchar_t kPolicyListKey[] = L"Software\\Policies\\Vantrel\\NormalPrograms";
// Room for 256 names of the longest kind many times over: a bigger value is
// not a list anybody wrote, and is not read at all.
constexpr DWORD kMaxStoredBytes = 4u << 20;
// A policy key with more values than this is read only this far.
constexpr DWORD kMaxPolicyValues = 65536;
// Value names may be this long (terminator included).
constexpr DWORD kValueNameSize = 16384;

std::wstring Folded(std::wstring name)
{
    FoldProgramName(name.data(), static_cast<UINT>(name.size()));
    return name;
}

void AddName(std::vector<std::wstring>& names, const std::wstring& name, const std::vector<std::wstring>& others)
{
    if (names.size() >= kMaxNormalPrograms || !IsValidProgramName(name))
        return;
    const auto same = [&name](const std::wstring& other) { return SameProgramName(other, name); };
    if (std::none_of(names.begin(), names.end(), same) && std::none_of(others.begin(), others.end(), same))
        names.push_back(name);
}

// The value's data, of any type and size up to kMaxStoredBytes; empty when
// there is no such value or it is bigger. The value may change between the
// two questions: a few tries.
std::vector<BYTE> ReadValueData(HKEY key, const wchar_t* name, DWORD& type)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size > kMaxStoredBytes)
            return {};
        std::vector<BYTE> data(size + 1);
        DWORD read = size;
        const LONG result = RegQueryValueExW(key, name, nullptr, &type, data.data(), &read);
        if (result == ERROR_SUCCESS) {
            data.resize(std::min(read, size));
            return data;
        }
        if (result != ERROR_MORE_DATA)
            return {};
    }
    return {};
}

std::vector<std::wstring> ReadUserPrograms()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = REG_NONE;
    const std::vector<BYTE> data = ReadValueData(key, kValueName, type);
    RegCloseKey(key);
    return ParseProgramList(type, data.data(), data.size());
}

// Every REG_SZ value of the policy's list key is one name, which is how a
// Group Policy list element stores its entries; other types are skipped.
void ReadPolicyList(HKEY root, REGSAM view, std::vector<std::wstring>& names)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kPolicyListKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> valueName(kValueNameSize);
    for (DWORD index = 0; index < kMaxPolicyValues; ++index) {
        // One character more than a name may have, so that an over-long one
        // is seen (and skipped) rather than cut to a name of the right size.
        wchar_t data[kMaxProgramNameLength + 2] = {};
        DWORD nameSize = kValueNameSize;
        DWORD size = sizeof data;
        DWORD type = REG_NONE;
        const LONG result = RegEnumValueW(key, index, valueName.data(), &nameSize, nullptr, &type,
            reinterpret_cast<BYTE*>(data), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        // Too long for the buffer (ERROR_MORE_DATA), or not text: skipped.
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        // Under Wine an empty value leaves the buffer as it was: the size
        // given back is what counts, and the text may lack its terminator.
        const size_t characters = std::min<size_t>(size / sizeof(wchar_t), kMaxProgramNameLength + 1);
        AddName(names, std::wstring(data, std::find(data, data + characters, L'\0')), {});
    }
    RegCloseKey(key);
}

} // namespace

bool SameProgramName(const std::wstring& left, const std::wstring& right)
{
    return left.size() == right.size() && Folded(left) == Folded(right);
}

bool IsValidProgramName(const std::wstring& name)
{
    return IsProgramFileName(name.c_str(), static_cast<UINT>(std::min<size_t>(name.size(), kMaxProgramNameLength + 1)))
        && name.find(L'\0') == std::wstring::npos;
}

std::vector<std::wstring> ParseProgramList(DWORD type, const BYTE* data, size_t size)
{
    std::vector<std::wstring> names;
    if (type != REG_MULTI_SZ || data == nullptr)
        return names;
    // An odd last byte belongs to no character. Empty strings, which end a
    // well-formed list, are skipped here so that the rest still applies.
    const size_t characters = size / sizeof(wchar_t);
    std::vector<wchar_t> text(characters);
    std::copy(data, data + characters * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    for (size_t start = 0; start < characters && names.size() < kMaxNormalPrograms;) {
        const size_t end = std::find(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), L'\0') - text.begin();
        AddName(names, std::wstring(text.data() + start, end - start), {});
        start = end + 1;
    }
    return names;
}

bool NormalPrograms::Contains(const std::wstring& name) const
{
    const auto same = [&name](const std::wstring& other) { return SameProgramName(other, name); };
    return std::any_of(user.begin(), user.end(), same) || std::any_of(policy.begin(), policy.end(), same);
}

std::wstring NormalPrograms::FilterBlock() const
{
    std::wstring block;
    size_t count = 0;
    for (const std::vector<std::wstring>* list : {&policy, &user})
        for (const std::wstring& name : *list)
            if (count++ < kMaxNormalPrograms)
                block.append(name).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

NormalPrograms ReadNormalPrograms()
{
    NormalPrograms programs;
    // Software\Policies is shared by both registry views on 64-bit Windows;
    // naming the 64-bit view keeps a 32-bit build right should that change.
    ReadPolicyList(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, programs.policy);
    ReadPolicyList(HKEY_CURRENT_USER, 0, programs.policy);
    for (const std::wstring& name : ReadUserPrograms())
        AddName(programs.user, name, programs.policy);
    return programs;
}

bool StoreUserPrograms(const std::vector<std::wstring>& names)
{
    std::wstring block;
    for (const std::wstring& name : names)
        block.append(name).push_back(L'\0');
    block.push_back(L'\0');
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(key, kValueName, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(block.data()),
        static_cast<DWORD>(block.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
