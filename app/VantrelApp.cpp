#include "VantrelApp.h"

#include "CommandLineAction.h"
#include "CommandLineParams.h"
#include "MainDialog.h"

#include <commctrl.h>

// The one application object. No application name: the display name, the
// caption of the program's message boxes, is the program file's name.
VantrelApp theApp;

BEGIN_MESSAGE_MAP(VantrelApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

VantrelApp::VantrelApp() : CWinApp(nullptr) {}

BOOL VantrelApp::InitInstance()
{
    InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey("Vantrel");

    // Constructing the dialog creates no window, so a run that only installs
    // or uninstalls shows nothing.
    MainDialog dialog(nullptr);
    CommandLineParams params;
    switch (ChooseCommandLineAction(params)) {
    case CommandLineAction::RunMainWindow:
        m_pMainWnd = &dialog;
        dialog.DoModal();
        break;
    case CommandLineAction::Install:
    case CommandLineAction::Uninstall:
        break;
    }
    // The main window's object ends with this scope.
    m_pMainWnd = nullptr;
    return FALSE;
}
