#pragma once

// A program that the benchmark starts and owns until it has ended. It is
// stopped politely through its window (WM_COMMAND IDOK, which both Vantrel and
// the minimal tray program answer by ending), and by force only when that fails.

#include <windows.h>

#include <string>

class RunningProgram {
public:
    // Starts the program in its own folder. Started() tells whether it did.
    explicit RunningProgram(const std::string& path);
    ~RunningProgram();
    RunningProgram(RunningProgram&& other) noexcept;
    RunningProgram& operator=(RunningProgram&& other) noexcept;
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_process.hProcess != nullptr; }
    HANDLE Process() const { return m_process.hProcess; }
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // Waits until the program shows a top-level window of this class and title
    // and then waits for input with none pending. Null when it does not.
    HWND WaitUntilReady(const char* className, const char* title, DWORD timeoutMs);

    // Asks the program to end and waits for it; ends it by force when it is
    // still running after the wait. True when it ended when asked.
    bool Stop();

private:
    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};
