#pragma once

// The application framework: everything a program built on it uses.

#include "AfxFunctions.h"
#include "CCmdTarget.h"
#include "CCommandLineInfo.h"
#include "CDialog.h"
#include "CMenu.h"
#include "CObject.h"
#include "CWinApp.h"
#include "CWnd.h"
#include "MessageMap.h"
