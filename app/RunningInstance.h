#pragma once

#include <windows.h>

// One running Vantrel per user in a session. The first start of the main
// window creates a small named section in the session's Local\ namespace,
// named after the user's SID, and writes its process id there; a later start
// by the same user in the same session finds it and asks that process to
// open its popup menu instead of adding a second icon and a second hook.
// Other sessions have their own Local\ namespace, and other users in this one
// a name of their own.
class RunningInstance {
public:
    // Creates or opens the section; takes the first place when it was new.
    RunningInstance();
    // Closing the last handle removes the name, so the next start is first.
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

    // True when this process runs the main window: no other one holds the
    // name, or the name could not be had (then every start runs normally,
    // as before there was a check).
    bool IsFirst() const { return m_isFirst; }

    // From a later start: lets the running process take the foreground and
    // asks it to open its menu at the pointer. False when no running process
    // could be named.
    bool AskFirstToShowMenu() const;

private:
    DWORD FirstProcessId() const;

    HANDLE m_section = nullptr;
    volatile LONG* m_pProcessId = nullptr;
    bool m_isFirst = true;
};
