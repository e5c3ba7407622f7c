#pragma once

// Helpers for the framework's tests: a dialog whose behaviour each test writes
// as small functions, and a watchdog that ends every modal loop of the thread
// if a test does not finish.

#include "Afx.h"
#include "TestSupport.h"

#include <functional>

class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(UINT templateId);

    BOOL OnInitDialog() override;

    // Each runs, when set, with this dialog.
    std::function<void(ScriptedDialog&)> onInit;
    // WM_APP, with its wParam.
    std::function<void(ScriptedDialog&, WPARAM)> onApp;
    // WM_TIMER, with the timer identifier.
    std::function<void(ScriptedDialog&, WPARAM)> onTimer;

    int initCalls = 0;

protected:
    afx_msg LRESULT OnApp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// A ScriptedDialog that never lets itself be shown, as a hidden main window
// does: it clears SWP_SHOWWINDOW and then lets default processing run.
class HiddenDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;

    int showAttempts = 0;

protected:
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);

    DECLARE_MESSAGE_MAP()
};

// Ends every modal loop of the thread (dialogs, message boxes, menus) once
// timeoutMs has passed, so that a fault fails the test instead of hanging it.
class ModalWatchdog {
public:
    explicit ModalWatchdog(UINT timeoutMs = 15000);
    ~ModalWatchdog();
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    bool Fired() const;

private:
    static void CALLBACK Expire(HWND, UINT, UINT_PTR, DWORD);

    UINT_PTR m_timer;
};

using testing_support::FindThreadWindow;
