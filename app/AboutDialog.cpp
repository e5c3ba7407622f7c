#include "AboutDialog.h"

#include "resource.h"

AboutDialog::AboutDialog() : CDialog(IDD_ABOUTBOX, nullptr) {}

BEGIN_MESSAGE_MAP(AboutDialog, CDialog)
END_MESSAGE_MAP()
