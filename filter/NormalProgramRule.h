#pragma once

// Programs where the buttons work as usual: a press of a replaced button over
// a window of a listed program passes unchanged, and so does that press's
// release, wherever it comes. Plain data and no system calls, so that it can
// be read and tested alone; the library holds one, touched only on the
// thread that serves the hook. Nothing here allocates: every store is a
// fixed block, constant-initialised like the rest of the library's data.

#include <windows.h>

// Limits of the list, shared by the program that stores it and the library
// that applies it. A file name longer than this cannot exist on NTFS.
inline constexpr UINT kMaxNormalPrograms = 256;
inline constexpr UINT kMaxProgramNameLength = 255;
// A multi-string block of the whole list: each name with its terminator, and
// one more terminator closing the block.
inline constexpr UINT kNormalProgramBlockSize = kMaxNormalPrograms * (kMaxProgramNameLength + 1) + 1;

// A program file name as the list holds it: no path, nothing empty, nothing
// over-long and no control character. length counts the characters before
// the terminator.
constexpr bool IsProgramFileName(const WCHAR* name, UINT length)
{
    if (length == 0 || length > kMaxProgramNameLength)
        return false;
    bool onlyDots = true;
    for (UINT i = 0; i < length; ++i) {
        const WCHAR c = name[i];
        if (c < 0x20 || c == L'\\' || c == L'/' || c == L':')
            return false;
        onlyDots = onlyDots && c == L'.';
    }
    return !onlyDots;
}

constexpr bool SameName(const WCHAR* left, const WCHAR* right)
{
    UINT i = 0;
    for (; left[i] != 0 && left[i] == right[i]; ++i) {
    }
    return left[i] == right[i];
}

// The names, each folded to capitals by the caller's fold (case is ignored by
// comparing folded names), one after another in one block.
class NormalProgramList {
public:
    // Takes a multi-string block of at most length characters: malformed
    // names are skipped, nothing is read past length, and at most
    // kMaxNormalPrograms names are kept. fold(name, length) folds one copied
    // name in place. Returns how many names are held.
    template <typename Fold>
    UINT Assign(const WCHAR* block, UINT length, Fold fold)
    {
        m_used = 0;
        m_count = 0;
        UINT start = 0;
        while (start < length && m_count < kMaxNormalPrograms) {
            UINT end = start;
            while (end < length && block[end] != 0)
                ++end;
            const UINT nameLength = end - start;
            if (IsProgramFileName(block + start, nameLength)) {
                WCHAR* const copy = m_names + m_used;
                for (UINT i = 0; i < nameLength; ++i)
                    copy[i] = block[start + i];
                copy[nameLength] = 0;
                fold(copy, nameLength);
                m_used += nameLength + 1;
                ++m_count;
            }
            start = end + 1;
        }
        return m_count;
    }

    bool IsEmpty() const { return m_count == 0; }

    bool Contains(const WCHAR* foldedName) const
    {
        for (UINT at = 0; at < m_used;) {
            if (SameName(m_names + at, foldedName))
                return true;
            while (m_names[at] != 0)
                ++at;
            ++at;
        }
        return false;
    }

private:
    WCHAR m_names[kNormalProgramBlockSize] = {};
    UINT m_used = 0;
    UINT m_count = 0;
};

// The folded file names of the processes whose windows were last pressed on,
// so that no process is asked twice. A process id alone may come back for a
// new process once the old one has ended; the window's thread id, given out
// from the same pool, makes that a different key.
class ProgramNameCache {
public:
    static constexpr UINT kEntries = 16;

    // The name held for that process and thread, null when none is.
    const WCHAR* Find(DWORD processId, DWORD threadId) const
    {
        for (const Entry& entry : m_entries)
            if (entry.processId == processId && entry.threadId == threadId && entry.used)
                return entry.name;
        return nullptr;
    }

    // The place for a new name, the oldest entry's; the caller writes the
    // folded name (empty when the process could not tell) into it, at most
    // kMaxProgramNameLength characters and a terminator.
    WCHAR* Replace(DWORD processId, DWORD threadId)
    {
        Entry& entry = m_entries[m_next];
        m_next = (m_next + 1) % kEntries;
        entry.processId = processId;
        entry.threadId = threadId;
        entry.used = true;
        entry.name[0] = 0;
        return entry.name;
    }

private:
    struct Entry {
        DWORD processId = 0;
        DWORD threadId = 0;
        bool used = false;
        WCHAR name[kMaxProgramNameLength + 1] = {};
    };

    Entry m_entries[kEntries] = {};
    UINT m_next = 0;
};
