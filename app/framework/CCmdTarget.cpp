#include "CCmdTarget.h"

const AfxMessageMap* CCmdTarget::GetThisMessageMap()
{
    static const AfxMessageMapEntry entries[] = { { AfxMessageMapEntry::End, 0, nullptr, nullptr } };
    static const AfxMessageMap messageMap = { nullptr, entries };
    return &messageMap;
}

const AfxMessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const AfxMessageMapEntry* entry = GetMessageMap()->Find(message, wParam);
    if (entry == nullptr)
        return false;
    result = entry->handler(*this, wParam, lParam);
    return true;
}
