#include "ModeMenuChecks.h"

#include "ButtonMode.h"
#include "resource.h"

namespace {

void SetCheckMark(HMENU menu, UINT command, bool checked)
{
    MENUITEMINFOA item{};
    item.cbSize = kMenuItemInfoSize;
    item.fMask = MIIM_STATE;
    GetMenuItemInfoA(menu, command, FALSE, &item);
    if (checked)
        item.fState |= MFS_CHECKED;
    else
        item.fState = 0;
    SetMenuItemInfoA(menu, command, FALSE, &item);
}

} // namespace

void SetModeCheckMarks(HMENU menu, int buttonMode)
{
    SetCheckMark(menu, ID_MODE_ONE, buttonMode == kButtonModeOne);
    SetCheckMark(menu, ID_MODE_NORMAL, buttonMode == kButtonModeNormal);
}
