#pragma once

#include <windows.h>

class CWinApp;
class CWnd;

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application's main window (CWinApp::m_pMainWnd), or null.
CWnd* AfxGetMainWnd();

// A modal message box with the application's display name as caption, owned
// by the main window (by the dialog that runs over it, while one does). A
// Yes/No or Yes/No/Cancel box without an icon style gets the question icon.
// Returns the button pressed (IDYES, IDNO, ...). helpId is not used.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// The module that holds the program's resources: the program itself.
HINSTANCE AfxGetResourceHandle();
// The module that holds the given resource: the program itself.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

// No dialog here hosts an embedded control: nothing to set up.
BOOL AfxEnableControlContainer();
