#pragma once

#include "CWnd.h"

// A modal dialog built from a dialog template in the program's resources.
//
// DoModal creates the window without showing it, attaches this object (from
// then on every message of the window passes through the message map), calls
// OnInitDialog and runs a modal loop that pumps all of the thread's messages,
// so hooks installed on the thread, timers and other windows are served all
// along. The window is shown the first time the thread has nothing else to
// do (a handler can veto that through WM_WINDOWPOSCHANGING; the loop does not
// depend on it). The loop ends when EndDialog is called; the window is then
// destroyed and DoModal returns the end code.
//
// A dialog without a parent is owned by the application's main window, if
// there is one (and it is not the dialog itself); the owner is disabled while
// the dialog runs and enabled again after. A dialog that is still hidden after
// OnInitDialog and was not moved by it is centred on its owner, or on the
// screen's work area when the owner is hidden, minimised or absent.
//
// Escape and the Close command arrive as WM_COMMAND IDCANCEL, Enter as IDOK
// (the dialog manager does that); this class's map sends them to OnCancel and
// OnOK unless the derived class's map handles those commands first. A derived
// class that must tell a key from a command sent to it drops the keys in
// PreTranslateMessage, which the modal loop calls first.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // The end code given to EndDialog; -1 when the window cannot be created
    // (no such template, or the object already runs).
    virtual INT_PTR DoModal();
    // Returns TRUE: the dialog manager then focuses the first control.
    virtual BOOL OnInitDialog();
    // EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    // Ends the modal loop after the current message; DoModal returns result.
    void EndDialog(int result);

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;
    BOOL InitializeAttached(HWND window);
    void CenterWindow();
    void RunModalLoop();

    UINT m_templateId;
    CWnd* m_pParentWnd;
    HWND m_owner = nullptr;
    INT_PTR m_modalResult = -1;
    bool m_modalEnded = false;
};
