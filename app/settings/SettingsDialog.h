#pragma once

#include "Afx.h"
#include "InputSettingsInForce.h"
#include "NormalPrograms.h"
#include "RunningPrograms.h"

#include <string>
#include <vector>

// "Vantrel Settings": the programs where the buttons work as usual, the
// shortcut that switches between One and Normal, and the bounce time. It
// edits a copy of the lists; OK puts the shortcut and the bounce time in
// force and stores them, then ends it with IDOK and the caller stores
// UserPrograms; Cancel changes nothing. The administrators' entries are
// shown, marked, and cannot be removed; a value a policy fixes is greyed.
class SettingsDialog : public CDialog {
public:
    SettingsDialog(NormalPrograms programs, InputSettingsInForce& inputSettings);

    BOOL OnInitDialog() override;
    // A bounce time out of range, or a shortcut another program holds, keeps
    // the dialog open with nothing changed, the control that is wrong in focus.
    void OnOK() override;
    const std::vector<std::wstring>& UserPrograms() const { return m_programs.user; }
    // Ends the dialog, and its Add dialog if that is open, with IDCANCEL.
    void End();

protected:
    afx_msg void OnAddProgram();
    afx_msg void OnRemoveProgram();

    DECLARE_MESSAGE_MAP()

private:
    // Fills the list anew and selects the entry at that place (the last one
    // when it is past the end).
    void ShowPrograms(int selection);
    std::wstring EntryText(const std::wstring& name, bool policy) const;
    void ShowInputSettings();
    void FocusControl(int id);

    NormalPrograms m_programs;
    InputSettingsInForce& m_inputSettings;
    std::vector<RunningProgram> m_running;
    class AddProgramDialog* m_pAddDialog = nullptr;
    bool m_ending = false;
};

// Settings' Add dialog: offers the programs with a window now and takes a
// typed file name; OK only with a valid name.
class AddProgramDialog : public CDialog {
public:
    AddProgramDialog(CWnd* parent, const std::vector<RunningProgram>& running);

    BOOL OnInitDialog() override;
    void OnOK() override;
    const std::wstring& ProgramName() const { return m_name; }

    DECLARE_MESSAGE_MAP()

private:
    const std::vector<RunningProgram>& m_running;
    std::wstring m_name;
};
