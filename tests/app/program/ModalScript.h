#pragma once

// Drives a modal run from inside its own message loops. A thread timer runs
// the script's steps in order; a step returns true when it is done and false
// to be tried again on the next tick. The script moves on before it calls a
// step, so a step that opens a nested loop (a message box, a menu) lets the
// following steps run inside that loop. Every run is bounded: once the time
// is up, the script closes the thread's menus and message boxes and ends the
// dialog, and the test fails.

#include "TestSupport.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    using Step = std::function<bool()>;

    // dialogWindow is asked for (read on each use) when the time is up, to end
    // the modal run.
    ModalScript(std::function<HWND()> dialogWindow, DWORD timeoutMs = 30000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Adds a step; name says in a failure where the script stopped.
    ModalScript& Then(std::string name, Step step);

    bool Finished() const { return m_next >= m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }
    // The step that was waiting, or had not returned, when the time ran out.
    std::string StuckAt() const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunNext();
    void GiveUp();

    std::function<HWND()> m_dialogWindow;
    ULONGLONG m_deadline;
    std::vector<std::pair<std::string, Step>> m_steps;
    size_t m_next = 0;
    // Steps that have been called and not yet returned, innermost last.
    std::vector<size_t> m_running;
    std::string m_stuckAt;
    bool m_timedOut = false;
    UINT_PTR m_timer = 0;
};

using testing_support::CountThreadWindows;
using testing_support::FindThreadWindow;
