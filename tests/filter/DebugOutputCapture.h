#pragma once

// Collects what this thread writes to the debugger with OutputDebugStringA
// while the object lives.
//
// OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text's length
// (terminator included) and address as its two parameters, and handles the
// exception itself when no debugger takes it. A vectored handler sees the
// exception before that, so the text can be read without being a debugger.
// Wine 8 does this too, also for OutputDebugStringW, which it turns into the
// narrow call (Windows 10 raises DBG_PRINTEXCEPTION_WIDE_C for the wide one).

#include <windows.h>

#include <string>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    bool IsActive() const { return m_handler != nullptr; }
    // Everything written so far, the strings one after the other.
    const std::string& Text() const { return m_text; }
    void Clear() { m_text.clear(); }

private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* exception);

    PVOID m_handler = nullptr;
    DWORD m_threadId = 0;
    std::string m_text;
};
