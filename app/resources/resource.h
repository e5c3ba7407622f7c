#pragma once

// Identifiers of the program's resources and commands. Also read by the
// resource compiler, so plain #defines only.

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_VANTREL_DIALOG 102
#define IDD_SETTINGS 103
#define IDD_ADD_PROGRAM 104
#define IDI_VANTREL 128
#define IDI_MODE_ONE 129
#define IDI_MODE_NORMAL 130
#define IDR_TRAY_MENU 131

#define IDM_ABOUTBOX 0x0010

#define ID_TRAY_ABOUT 32771
#define ID_TRAY_EXIT 32773
#define ID_MODE_NORMAL 32776
#define ID_MODE_ONE 32777
#define ID_TRAY_SETTINGS 32778

// Controls of the Settings dialog and its Add dialog: 1001 to 1049.
#define IDC_PROGRAMS_LABEL 1001
#define IDC_PROGRAMS_LIST 1002
#define IDC_ADD_PROGRAM 1003
#define IDC_REMOVE_PROGRAM 1004
#define IDC_PROGRAM_NAME_LABEL 1011
#define IDC_PROGRAM_NAME 1012

// Controls of the Settings dialog's shortcut and bounce rows: 1050 to 1099.
#define IDC_TOGGLE_HOTKEY_LABEL 1050
#define IDC_TOGGLE_HOTKEY 1051
#define IDC_TOGGLE_HOTKEY_STATE 1052
#define IDC_BOUNCE_LABEL 1053
#define IDC_BOUNCE_MS 1054
#define IDC_BOUNCE_SPIN 1055
#define IDC_BOUNCE_UNIT 1056
