#pragma once

#include <windows.h>

#include <optional>

#include "Afx.h"
#include "ButtonModePolicy.h"
#include "FilterWatch.h"
#include "IconRetry.h"
#include "InputSettingsInForce.h"
#include "NormalPrograms.h"

class SettingsDialog;
class TrayIcon;
class TrayIconHandler;
class TrayMenuHandler;

// The program's one window: a dialog that is never shown. It holds the button
// mode, applies it through the filter library, shows it in the window's and the
// notification area's icons, stores it per user, owns the notification icon
// and its handlers, and takes the popup menu's commands.
class MainDialog : public CDialog {
public:
    explicit MainDialog(CWnd* parent = nullptr);
    // Frees the notification icon and its handlers if the dialog still holds
    // them (they are normally freed by Exit or the OK command).
    ~MainDialog() override;

    BOOL OnInitDialog() override;

    // Applies a mode: 1 turns the filter on, every other value turns it off.
    // On success the window and the notification icon show the mode's icon.
    void SetFilterMode(int mode);

    // Exit after the user has confirmed it.
    void OnCancel() override;

    // Drops every key that reaches the window: none is acted on.
    BOOL PreTranslateMessage(MSG* message) override;

    // 1 = One, 2 = Normal; other values come only from the registry.
    int GetButtonMode() const { return m_buttonMode; }
    const ButtonModePolicy& GetPolicy() const { return m_policy; }
    // The shortcut and the bounce time, for the Settings dialog.
    InputSettingsInForce& GetInputSettings() { return m_inputSettings; }

protected:
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNotifyIcon(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowMenuRequest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnAbout();
    afx_msg void OnSettings();
    afx_msg void OnHideWindow();
    afx_msg void OnExit();
    afx_msg void OnOkCommand();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnModeNormal();
    afx_msg void OnModeOne();
    afx_msg LRESULT OnTimerMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHotkey(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void AddAboutToSystemMenu();
    void CreateTrayIcon();
    void ApplyStoredMode();
    // The policy's mode, else the stored one; nothing without either.
    std::optional<int> ModeInForce();
    void SwitchMode(int newMode);
    void SaveButtonMode();
    void FreeTrayObjects();
    // The filter takes the list whenever One is applied and whenever the
    // list changes in One; in Normal the library is left alone.
    void HandNormalProgramsToFilter(int mode);

    int m_buttonMode;
    HICON m_hIcon;
    TrayIcon* m_pTrayIcon = nullptr;
    TrayIconHandler** m_pHandlerArray = nullptr;
    TrayMenuHandler* m_pRightClickHandler = nullptr;
    TrayMenuHandler* m_pLeftClickHandler = nullptr;
    FilterWatch m_filterWatch;
    IconRetry m_iconRetry;
    ButtonModePolicy m_policy;
    NormalPrograms m_normalPrograms;
    InputSettingsInForce m_inputSettings;
    // The Settings dialog while it runs, so that a second choice of Settings
    // brings it to the front and the program's end ends it.
    SettingsDialog* m_pSettingsDialog = nullptr;
};
