#include "MessageMap.h"

namespace {

// Menus send 0 in the high word of wParam and accelerators 1; a button click
// (BN_CLICKED, also what the dialog manager sends for Escape and Enter) is 0.
// Other control notifications are not commands.
bool IsCommand(WPARAM wParam)
{
    const WPARAM code = (wParam >> 16) & 0xFFFF;
    return code == 0 || code == 1;
}

UINT CommandId(WPARAM wParam)
{
    return static_cast<UINT>(wParam & 0xFFFF);
}

} // namespace

bool AfxMessageMapEntry::Matches(UINT message, WPARAM wParam) const
{
    switch (kind) {
    case Message:
        return message == id;
    case Command:
        return message == WM_COMMAND && IsCommand(wParam) && CommandId(wParam) == id;
    case RegisteredMessage:
        // An identifier not yet registered is 0 (WM_NULL): it matches nothing.
        return *registeredMessage != 0 && message == *registeredMessage;
    case End:
        break;
    }
    return false;
}

const AfxMessageMapEntry* AfxMessageMap::Find(UINT message, WPARAM wParam) const
{
    for (const AfxMessageMap* map = this; map != nullptr; map = map->base ? map->base() : nullptr)
        for (const AfxMessageMapEntry* entry = map->entries; entry->kind != AfxMessageMapEntry::End; ++entry)
            if (entry->Matches(message, wParam))
                return entry;
    return nullptr;
}
