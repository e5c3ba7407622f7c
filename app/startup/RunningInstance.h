#pragma once

#include <windows.h>

// One running Vantrel per user in a session. The first start of the main
// window creates a small named section in the session's Local\ namespace,
// named after the user's SID and open to that user alone, and writes its
// process id there. A later start defers to the process named there only when
// it is Vantrel of this user in this session and its main window answers
// within a second: it then opens that one's popup menu instead of adding a
// second icon and a second hook. Otherwise the later start runs, takes the
// mark and tells the named one to give way.
//
// Who gives way: the one that did not answer. The user started a new Vantrel
// because the running one did nothing; the new one already shows its icon and
// its hook, being newer, is called first. The old one finds the request queued
// when it recovers, sees that the mark names another process, and ends as the
// OK command ends it (filter removed, held press released, icon removed), so
// that no two filters inject. Starts that find the same hung one take the
// mark by compare-exchange: exactly one of them takes over, and the others
// judge that one as they judged the first.
class RunningInstance {
public:
    // Creates or opens the section and decides whether this start runs.
    RunningInstance();
    // Closing the last handle removes the name, so the next start is first.
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

    // True when this process runs the main window: no answering Vantrel of
    // this user holds the mark, or the mark could not be had or trusted (then
    // this start runs normally, as before there was a check).
    bool IsFirst() const { return m_firstWindow == nullptr; }

    // From a later start: lets the running process take the foreground and
    // asks it to open its menu at the pointer. False when there is none.
    bool AskFirstToShowMenu() const;

    // In the running program, read through the view this process holds
    // (false without one): whether the mark names another process, which took
    // over while this one's window was not there yet or did not answer.
    static bool MarkNamesAnotherProcess();
    // Whether a request to give way that says it comes from senderId is to be
    // obeyed: only when the mark names that very process, and not this one.
    static bool ShouldGiveWayTo(DWORD senderId);

private:
    static DWORD MarkedProcess();

    // The instance that holds the mark for this process's main window.
    static RunningInstance* s_pHeld;

    HANDLE m_section = nullptr;
    volatile LONG* m_pProcessId = nullptr;
    DWORD m_firstId = 0;
    HWND m_firstWindow = nullptr;
};
