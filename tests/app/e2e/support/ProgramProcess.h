#pragma once

// A program under test, started as a user would start it and always ended by
// the test that started it.

#include <windows.h>

#include <string>

namespace e2e {

struct LaunchOptions {
    std::string programPath;
    // Appended to the quoted program path.
    std::string arguments;
    // Empty: the test program's own current directory.
    std::string currentDirectory;
};

// Owns a started program. Ending it first asks politely (closes what it has
// open, then WM_COMMAND IDOK to its main window, which frees the icon and ends
// without asking) and only then terminates it: after TerminateProcess of a GUI
// program Wine starts the next process about 2 s late, and an icon whose owner
// died lingers in the tray for 1 to 2 s.
class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(ProgramProcess&& other) noexcept;
    ProgramProcess& operator=(ProgramProcess&& other) noexcept;
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts the program. Its standard output goes to a file of its own (read
    // it with Output()), never to the test's: a pipe that CTest reads would
    // stay open for as long as the program lives.
    static ProgramProcess Launch(const LaunchOptions& options);

    bool IsStarted() const { return m_process != nullptr; }
    DWORD Id() const { return m_processId; }
    HANDLE Handle() const { return m_process; }
    bool IsRunning() const;
    // Pumps the caller's messages while it waits. True once the program ended.
    bool WaitForExit(DWORD timeoutMs) const;
    // What the program wrote to its standard output so far.
    std::string Output() const;
    // Suspends or resumes every thread of the program, as a program that
    // hangs and recovers. True when each thread did.
    bool Suspend(bool suspend) const;
    // Ends the program if it still runs (see the class comment). True when it
    // ended without being terminated.
    bool Stop();

private:
    void Release();

    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    std::string m_outputPath;
};

} // namespace e2e
