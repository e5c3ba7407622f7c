#pragma once

#include "Afx.h"
#include "NormalPrograms.h"
#include "RunningPrograms.h"

#include <string>
#include <vector>

// "Vantrel Settings": the programs where the buttons work as usual. It edits
// a copy of the lists; OK ends it with IDOK and the caller stores UserPrograms,
// Cancel throws the copy away. The administrators' entries are shown, marked,
// and cannot be removed.
class SettingsDialog : public CDialog {
public:
    explicit SettingsDialog(NormalPrograms programs);

    BOOL OnInitDialog() override;
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

    NormalPrograms m_programs;
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
