#pragma once

// The scratch key opened through RegistryKey with the access the program asks
// for its own key.

#include "RegistryKey.h"
#include "ScratchKey.h"

inline constexpr REGSAM kQueryAndSet = KEY_QUERY_VALUE | KEY_SET_VALUE;

class RegistryKeyTest : public ScratchKeyTest {
protected:
    bool OpenScratch(RegistryKey& key, const std::string& child = {})
    {
        return key.Open((child.empty() ? Path() : ChildPath(child)).c_str(), HKEY_CURRENT_USER, kQueryAndSet, false);
    }
};

// m_key, a plain RegistryKey, open on the scratch key in every test.
class OpenRegistryKeyTest : public RegistryKeyTest {
protected:
    void SetUp() override
    {
        RegistryKeyTest::SetUp();
        ASSERT_TRUE(OpenScratch(m_key));
    }

    RegistryKey m_key{0};
};
