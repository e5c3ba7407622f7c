#pragma once

#include "CCmdTarget.h"

// A window object. Its messages pass through the object's message map: a
// static window procedure finds the object for the window handle and walks
// the map; what the map does not handle goes to the window procedure the
// window had before (CWnd::Default).
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Gives the window back its own procedure if it is still attached; the
    // window itself lives on (a dialog's window ends inside DoModal).
    ~CWnd() override;

    // The window, or null while the object has none. (Unlike the vendor
    // framework's, it must not be called through a null pointer: test the
    // pointer first.)
    HWND GetSafeHwnd() const;

    // Default processing of the message being handled: the original message,
    // wParam and lParam (as a handler may have changed what lParam points to)
    // go to the window's previous procedure; for a dialog that is the dialog
    // manager. Returns 0 when called outside a handler.
    LRESULT Default();

    BOOL ShowWindow(int showCommand);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL GetClientRect(LPRECT rect) const;
    BOOL GetWindowRect(LPRECT rect) const;
    BOOL IsIconic() const;
    BOOL IsWindowVisible() const;
    BOOL SetForegroundWindow();
    // The window's system menu as a handle (the window owns it; never
    // destroy it). revert TRUE restores the default menu and returns null.
    HMENU GetSystemMenu(BOOL revert) const;

    // Routes the messages of an existing window through this object's map.
    // Fails when the object already has a window or the window already has
    // an object.
    BOOL SubclassWindow(HWND window);
    // Gives the window back its own procedure; returns it.
    HWND UnsubclassWindow();

    // The object attached to a window by SubclassWindow or DoModal, or null.
    static CWnd* FromHandlePermanent(HWND window);

    // Offered every message that a modal loop takes from the queue for this
    // window or one of its child windows, before the dialog manager turns
    // keys into commands. TRUE drops the message. Returns FALSE.
    virtual BOOL PreTranslateMessage(MSG* message);

    HWND m_hWnd = nullptr;

protected:
    // Handlers that only do the default processing, for derived classes to
    // call from their own (CDialog::OnPaint() and so on). Each passes the
    // original message on, whatever arguments it is given.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);

    // Every message of the window: the map, then (for commands) the
    // application's map, then Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superWindowProc = nullptr;
    // The message being handled; Default passes it on.
    MSG m_currentMessage{};
    bool m_handlingMessage = false;
};
