#pragma once

#include "Afx.h"

// Names the program and its version; closes with OK, Enter, Escape or the
// close box, and does nothing else.
class AboutDialog : public CDialog {
public:
    AboutDialog();

    DECLARE_MESSAGE_MAP()
};
