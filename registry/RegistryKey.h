#pragma once

// One registry key, opened (or created) under a parent key, with every value
// of the key cached as a typed RegistryValue entry. Entries are looked up by
// name and write themselves through to the key the moment they are set.

#include "RegistryValue.h"

#include <windows.h>

#include <memory>
#include <vector>

// Flags word given to the constructor; callers combine the first three.
enum : DWORD {
    // Open creates a missing key and asks for KEY_CREATE_SUB_KEY as well.
    REGKEY_CREATE = 1,
    // The handle is held only while an operation needs it.
    REGKEY_ON_DEMAND = 2,
    // Every read of an entry first reloads all values of the key.
    REGKEY_REFRESH = 4,
    // Internal: set while LoadValues fills the cache, so that the setters it
    // calls change only the cache.
    REGKEY_LOADING = 8,
};

class RegistryKey {
public:
    // Longest value name kept in an entry, terminator included; a longer name
    // is cut to its first kNameCopySize - 1 bytes, both when it is stored and
    // when it is looked up, so one over-long name still maps to one entry.
    static constexpr size_t kNameCopySize = 2048;
    // Buffers of one LoadValues run: values whose name has
    // kLoadNameBufferSize characters or more, or whose data is longer than
    // kLoadDataBufferSize bytes, are skipped.
    static constexpr DWORD kLoadNameBufferSize = 260;
    static constexpr DWORD kLoadDataBufferSize = 2048;

    explicit RegistryKey(DWORD flags);
    // Closes the handle and frees the cache; writes nothing.
    virtual ~RegistryKey();

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Callers pass reopen = false. A fresh open remembers subKey and parent,
    // keeps the cache when subKey names the remembered path (in any letter
    // case) and empties it otherwise, then opens the key and loads its values.
    // reopen = true only opens, with the given path and parent, remembering
    // nothing. True when the key opened and (fresh open) its values loaded.
    bool Open(const char* subKey, HKEY parent, REGSAM access, bool reopen);

    // Closes the handle if one is open and returns RegCloseKey's result, else
    // 0. The cache stays.
    LONG Close();

    // The cached entry of that name (compared case-insensitively), created
    // empty if there is none; never touches the registry, never null. The
    // pointer stays valid until a fresh Open of another path or the key's end.
    RegistryValue* Value(const char* name);

    // Reads every value of the key into the cache; adds and overwrites only.
    bool LoadValues();

    // Deletes the named value from the key whatever its type and size, cached
    // or not (the cache holds only the types it has a place for and what fits
    // the loader's buffers). A cached entry of that name stays, no longer
    // existing. Returns what RegDeleteValueA answered (ERROR_FILE_NOT_FOUND
    // when there was no such value), or ERROR_INVALID_HANDLE when no handle
    // is open and none can be re-opened.
    LONG DeleteValue(const char* name);

    // Re-opens an on-demand key that holds no handle, with the remembered path
    // and parent; true if a handle is open afterwards or none is needed.
    bool EnsureOpen(REGSAM access);

    // The open key handle, or null when none is open. Read it, never set it:
    // the key owns the handle.
    HKEY m_hKey = nullptr;
    // What the registry answered to the last RegOpenKeyExA or RegCreateKeyExA
    // of Open, so that a caller can tell a missing key from a refused one.
    LONG m_openResult = ERROR_SUCCESS;

private:
    friend class RegistryValue;

    void LoadValue(const char* name, DWORD type, const BYTE* data, DWORD size);
    RegistryValue* FindValue(const char* name) const;
    LONG DeleteFromRegistry(const char* name);
    void ForgetPathAndCache();
    void CloseIfOnDemand();

    DWORD m_flags;
    // Parent of the last fresh Open; belongs to the caller, never closed here.
    HKEY m_parent = nullptr;
    // Path of the cache's key, or null before the first Open.
    std::unique_ptr<char[]> m_subKey;
    std::vector<std::unique_ptr<RegistryValue>> m_values;
};
