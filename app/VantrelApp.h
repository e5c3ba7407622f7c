#pragma once

#include "Afx.h"

// The application: its start-up runs the hidden main window modally, or
// carries out the install or uninstall flag, and always returns FALSE, so the
// process ends when start-up does and the framework's own message loop never
// runs.
class VantrelApp : public CWinApp {
public:
    VantrelApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
