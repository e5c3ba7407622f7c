#pragma once

// One cached value of a RegistryKey: its name, its registry type and the data
// of that type. Every setter writes through to the key at once (when the key
// can be written); every getter reads the cache, after a reload of the whole
// key when the key has REGKEY_REFRESH. Entries are made only by their key.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class RegistryKey;

class RegistryValue {
public:
    // Size of m_text, terminator included.
    static constexpr DWORD kTextBufferSize = 2048;

    // Frees the cached data; writes nothing.
    virtual ~RegistryValue();

    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

    // Caches REG_SZ text (cut to kTextBufferSize - 1 bytes in m_text) and
    // writes the whole text, terminator included.
    RegistryValue& SetString(const char* text);
    RegistryValue& SetDword(const DWORD& value);
    // Zero bytes change nothing at all, neither the cache nor the registry.
    void SetBinary(const BYTE* data, DWORD size);
    // Writes the caller's REG_MULTI_SZ block unchanged; unless writeOnly, also
    // caches the strings it holds. A zero last byte closes the list, so
    // a,0,b,0 holds only a; a last piece with no zero after it is dropped.
    void SetMultiString(const char* data, DWORD size, bool writeOnly);
    // Stores the number as REG_SZ decimal text.
    RegistryValue& SetInt(int value);

    // Text form of the cached data, left in m_text: REG_SZ as is, REG_DWORD in
    // unsigned decimal, REG_BINARY up to its first zero byte (at most
    // kTextBufferSize - 1 bytes), REG_MULTI_SZ as the block (its first string
    // reads as the text).
    char* GetText();
    // Copies up to size bytes of the REG_BINARY data, returns how many.
    // Throws std::out_of_range when there are none.
    DWORD GetBinary(BYTE* dst, DWORD size);
    // Writes the cached strings to dst as a REG_MULTI_SZ block, never more than
    // size bytes; a block that does not fit is cut and ends with a zero byte
    // in its last place. Not REG_MULTI_SZ: an empty text.
    char* GetMultiString(char* dst, DWORD size);
    // The text buffer, created empty if there is none; no reload, no conversion.
    char* TextBuffer();

    // Deletes the value from the registry; the entry stays in the cache with
    // its data. True when the registry deleted it.
    bool Delete();

    // 0 (nothing cached yet), REG_SZ, REG_BINARY, REG_DWORD or REG_MULTI_SZ.
    DWORD m_type = 0;
    // True once a setter has given the entry a value; false after Delete.
    bool m_exists = false;
    DWORD m_dword = 0;
    // What the registry answered to this entry's last write-through:
    // ERROR_INVALID_HANDLE when the key was not open for it. Setters change
    // the cache whatever happens; callers that must know read this.
    LONG m_writeResult = ERROR_SUCCESS;
    // Buffer of kTextBufferSize bytes owned by the entry, or null until a text
    // is stored or asked for. A raw pointer because callers read it directly.
    char* m_text = nullptr;

private:
    friend class RegistryKey;

    RegistryValue(RegistryKey* key, std::unique_ptr<char[]> name);

    char* EnsureTextBuffer();
    void WriteThrough(DWORD type, const void* data, DWORD size);
    void RefreshBeforeRead();
    void CopyStringsTo(char* dst, DWORD size) const;

    std::unique_ptr<char[]> m_name;
    RegistryKey* m_key;
    std::vector<BYTE> m_bytes;
    std::vector<std::string> m_strings;
};
