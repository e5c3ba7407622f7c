#pragma once

#include "CObject.h"
#include "MessageMap.h"

// Base of every class that can have a message map: windows and the
// application object.
class CCmdTarget : public CObject {
public:
    // Runs the first handler of this object's map chain that matches the
    // message and stores its result. Returns false when none matches.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // The root map: empty, chained to nothing.
    static const AfxMessageMap* GetThisMessageMap();
    virtual const AfxMessageMap* GetMessageMap() const;
};
