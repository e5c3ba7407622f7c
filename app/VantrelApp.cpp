#include "VantrelApp.h"

#include "AutoStart.h"
#include "CommandLineAction.h"
#include "CommandLineParams.h"
#include "MainDialog.h"
#include "ModulePath.h"
#include "RunningInstance.h"

#include <commctrl.h>

// The one application object. No application name: the display name, the
// caption of the program's message boxes, is the program file's name.
VantrelApp theApp;

namespace {

// An install or uninstall run shows nothing, so installers and scripts learn
// from the exit status alone whether the Run value is as they asked.
constexpr int kRegistryActionFailed = 1;

} // namespace

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
    case CommandLineAction::RunMainWindow: {
        // Held until the main window has closed: while it is, a later start
        // by this user in this session only opens this one's menu.
        const RunningInstance instance;
        if (!instance.IsFirst()) {
            instance.AskFirstToShowMenu();
            break;
        }
        // An installer that replaces our files while we run closes us
        // through the Restart Manager and starts us again afterwards: only
        // then, not after a crash, a hang or a reboot (logon has the Run value).
        RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        break;
    }
    case CommandLineAction::Install:
        if (!InstallAutoStart(MachineAutoStartEntry(), ModuleFilePath(nullptr)))
            m_exitCode = kRegistryActionFailed;
        break;
    case CommandLineAction::Uninstall:
        if (!UninstallAutoStart(MachineAutoStartEntry()))
            m_exitCode = kRegistryActionFailed;
        break;
    }
    // The main window's object ends with this scope.
    m_pMainWnd = nullptr;
    return FALSE;
}
