#include "ScratchKey.h"

#include <sddl.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr char kTestsRoot[] = "Software\\VantrelTests";

} // namespace

void ScratchKeyTest::SetUp()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::string(kTestsRoot) + "\\" + test->test_suite_name() + "." + test->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                  nullptr, &m_root, nullptr),
        ERROR_SUCCESS);
}

void ScratchKeyTest::TearDown()
{
    for (HKEY child : m_children)
        RegCloseKey(child);
    m_children.clear();
    if (m_root != nullptr)
        RegCloseKey(m_root);
    m_root = nullptr;
    // Deletes the key itself with everything below it.
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str()), ERROR_SUCCESS);
    // Succeeds only once no test key is left under it.
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestsRoot);
}

HKEY ScratchKeyTest::CreateChild(const std::string& child)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(m_root, child.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr),
        ERROR_SUCCESS);
    if (key != nullptr)
        m_children.push_back(key);
    return key;
}

void ScratchKeyTest::WriteRaw(const char* name, DWORD type, const void* data, DWORD size, HKEY key)
{
    std::vector<BYTE> stored(size + 1, 0x5A);
    if (size > 0)
        std::memcpy(stored.data(), data, size);
    ASSERT_EQ(RegSetValueExA(key != nullptr ? key : m_root, name, 0, type, stored.data(), size), ERROR_SUCCESS);
    const RawValue written = ReadRaw(name, key);
    ASSERT_EQ(written.data.size(), size) << "the registry changed the length of " << name;
}

void ScratchKeyTest::WriteText(const char* name, const std::string& text, HKEY key)
{
    WriteRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), key);
}

void ScratchKeyTest::WriteDword(const char* name, DWORD value, HKEY key)
{
    WriteRaw(name, REG_DWORD, &value, sizeof value, key);
}

RawValue ScratchKeyTest::ReadRaw(const char* name, HKEY key) const
{
    RawValue value;
    HKEY from = key != nullptr ? key : m_root;
    DWORD size = 0;
    value.result = RegQueryValueExA(from, name, nullptr, &value.type, nullptr, &size);
    if (value.result != ERROR_SUCCESS)
        return value;
    // Room for the terminator that the registry adds to string data.
    value.data.resize(size + 2);
    DWORD read = size + 2;
    value.result = RegQueryValueExA(from, name, nullptr, &value.type, value.data.data(), &read);
    value.data.resize(value.result == ERROR_SUCCESS ? read : 0);
    return value;
}

bool ScratchKeyTest::Exists(const char* name, HKEY key) const
{
    return RegQueryValueExA(key != nullptr ? key : m_root, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void ScratchKeyTest::DeleteRaw(const char* name, HKEY key)
{
    ASSERT_EQ(RegDeleteValueA(key != nullptr ? key : m_root, name), ERROR_SUCCESS);
}

RestrictedKeyAccess::RestrictedKeyAccess(HKEY parent, const std::string& path, REGSAM allowed)
{
    if (RegOpenKeyExA(parent, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &m_key) != ERROR_SUCCESS) {
        m_key = nullptr;
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_savedDescriptor.resize(size);
    if (size == 0
        || RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_savedDescriptor.data(), &size) != ERROR_SUCCESS)
        return;

    char sddl[64];
    // Protected, so that nothing inherited from the parent grants more.
    std::snprintf(sddl, sizeof sddl, "D:P(A;;0x%lx;;;WD)", static_cast<unsigned long>(allowed));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return;
    m_applied = RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
}

RestrictedKeyAccess::~RestrictedKeyAccess()
{
    if (m_key == nullptr)
        return;
    if (m_applied)
        RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_savedDescriptor.data());
    RegCloseKey(m_key);
}
