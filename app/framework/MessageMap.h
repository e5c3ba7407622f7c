#pragma once

// Message maps: a static table per window class that binds messages, command
// identifiers and registered messages to member handlers.
//
//   class MyDialog : public CDialog {
//       ...
//       afx_msg void OnPaint();
//       afx_msg LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
//       DECLARE_MESSAGE_MAP()
//   };
//
//   BEGIN_MESSAGE_MAP(MyDialog, CDialog)
//       ON_WM_PAINT()
//       ON_REGISTERED_MESSAGE(NotifyMessage, OnNotify)
//       ON_COMMAND(IDOK, OnOkCommand)
//   END_MESSAGE_MAP()
//
// Handlers are named bare, as members of the class that declares the map (an
// inherited member works too). The entries of a map are tried in the order
// they are written; the first that matches handles the message. A message
// that no entry of the class's map matches is looked up in the base class's
// map, and so on; one that no map matches gets the window's default
// processing (CWnd::Default). A command that no map of the window matches is
// offered to the application object's map (CWinApp) before that.
//
// Each entry calls its handler through a small function generated in the
// class's own scope, so the compiler checks every handler's signature there
// and no member-function pointer is ever cast.

#include <windows.h>

#include <type_traits>

class CCmdTarget;

// Marks message handlers in class declarations; it has no effect.
#define afx_msg

struct AfxMessageMapEntry {
    enum Kind { Message, Command, RegisteredMessage, End };

    Kind kind;
    // Message: the message. Command: the command identifier.
    UINT id;
    // RegisteredMessage: the variable that holds the identifier. It is read
    // each time the map is searched, so it may be set after the map exists.
    const UINT* registeredMessage;
    LRESULT (*handler)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

    bool Matches(UINT message, WPARAM wParam) const;
};

struct AfxMessageMap {
    const AfxMessageMap* (*base)(); // null for the root of the class tree
    const AfxMessageMapEntry* entries; // ends with an End entry

    // The first entry, in this map or the maps it is chained to, that handles
    // the message; null when none does.
    const AfxMessageMapEntry* Find(UINT message, WPARAM wParam) const;
};

// In the class declaration. Leaves the access at protected, as it sets it.
#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const AfxMessageMap* GetThisMessageMap();           \
    const AfxMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AfxMessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AfxMessageMap* theClass::GetThisMessageMap()                             \
    {                                                                              \
        using ThisClass = theClass;                                                \
        using TheBaseClass = baseClass;                                            \
        static const AfxMessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                          \
            { AfxMessageMapEntry::End, 0, nullptr, nullptr }                       \
        };                                                                         \
        static_assert(std::is_base_of<TheBaseClass, ThisClass>::value,             \
            "a message map chains to a base class of its own class");              \
        static const AfxMessageMap messageMap = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &messageMap;                                                        \
    }

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                         \
    { AfxMessageMapEntry::Message, WM_SYSCOMMAND, nullptr,                         \
        [](CCmdTarget& target, WPARAM wParam, LPARAM lParam) -> LRESULT {                \
            void (ThisClass::*handler)(UINT, LPARAM) = &ThisClass::OnSysCommand;   \
            (static_cast<ThisClass&>(target).*handler)(static_cast<UINT>(wParam), lParam); \
            return 0;                                                              \
        } },

// void OnPaint()
#define ON_WM_PAINT()                                                              \
    { AfxMessageMapEntry::Message, WM_PAINT, nullptr,                              \
        [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {                              \
            void (ThisClass::*handler)() = &ThisClass::OnPaint;                    \
            (static_cast<ThisClass&>(target).*handler)();                          \
            return 0;                                                              \
        } },

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                      \
    { AfxMessageMapEntry::Message, WM_QUERYDRAGICON, nullptr,                      \
        [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {                              \
            HCURSOR (ThisClass::*handler)() = &ThisClass::OnQueryDragIcon;         \
            return reinterpret_cast<LRESULT>((static_cast<ThisClass&>(target).*handler)()); \
        } },

// void OnWindowPosChanging(WINDOWPOS* lpwndpos)
#define ON_WM_WINDOWPOSCHANGING()                                                  \
    { AfxMessageMapEntry::Message, WM_WINDOWPOSCHANGING, nullptr,                  \
        [](CCmdTarget& target, WPARAM, LPARAM lParam) -> LRESULT {                       \
            void (ThisClass::*handler)(WINDOWPOS*) = &ThisClass::OnWindowPosChanging; \
            (static_cast<ThisClass&>(target).*handler)(reinterpret_cast<WINDOWPOS*>(lParam)); \
            return 0;                                                              \
        } },

// LRESULT memberFn(WPARAM wParam, LPARAM lParam), for a fixed message.
#define ON_MESSAGE(message, memberFn)                                              \
    { AfxMessageMapEntry::Message, message, nullptr,                               \
        [](CCmdTarget& target, WPARAM wParam, LPARAM lParam) -> LRESULT {                \
            LRESULT (ThisClass::*handler)(WPARAM, LPARAM) = &ThisClass::memberFn;  \
            return (static_cast<ThisClass&>(target).*handler)(wParam, lParam);     \
        } },

// LRESULT memberFn(WPARAM wParam, LPARAM lParam), for the message whose
// identifier the UINT variable holds when the map is searched.
#define ON_REGISTERED_MESSAGE(variable, memberFn)                                  \
    { AfxMessageMapEntry::RegisteredMessage, 0, &(variable),                       \
        [](CCmdTarget& target, WPARAM wParam, LPARAM lParam) -> LRESULT {                \
            LRESULT (ThisClass::*handler)(WPARAM, LPARAM) = &ThisClass::memberFn;  \
            return (static_cast<ThisClass&>(target).*handler)(wParam, lParam);     \
        } },

// void memberFn(), for WM_COMMAND with this identifier from a menu, an
// accelerator or a button click (the dialog manager's IDOK and IDCANCEL too).
#define ON_COMMAND(id, memberFn)                                                   \
    { AfxMessageMapEntry::Command, id, nullptr,                                    \
        [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {                              \
            void (ThisClass::*handler)() = &ThisClass::memberFn;                   \
            (static_cast<ThisClass&>(target).*handler)();                          \
            return 0;                                                              \
        } },
