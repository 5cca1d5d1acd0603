// Message maps: a short static table per window class, naming the handler of each message.
// Dispatch searches the most derived class's table first, then its base's, and so on up to
// CWnd, whose table is empty.
//
//   // in the class:        DECLARE_MESSAGE_MAP()
//   // in its source file:
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(IDC_REMOVE, OnRemove)
//       ON_WM_DRAWITEM()
//   END_MESSAGE_MAP()
#pragma once
#include <windows.h>

class CWnd;

// Every entry's handler gets the window object and the message's parameters and returns the
// message result; the ON_ macros wrap a member function of the class in such a function.
using AfxMessageHandler = LRESULT (*)(CWnd* wnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;                  // notification code of a WM_COMMAND; unused otherwise
    UINT id;                    // control id of a WM_COMMAND; unused otherwise
    AfxMessageHandler handler;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* baseMap;  // null for CWnd's own table
    const AFX_MSGMAP_ENTRY* entries;
};

// The handler of a message, searched derived-first; null when no table has one. WM_COMMAND
// entries match on notification code and control id, others on the message alone.
AfxMessageHandler AfxFindMessageHandler(const AFX_MSGMAP* map, UINT message, WPARAM wParam);

// Put at the end of the class declaration.
#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

// The table is built inside a static member function, so that its handlers may call the
// class's protected members.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                 \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }         \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                           \
    {                                                                                         \
        using ThisClass = theClass;                                                           \
        using TheBaseClass = baseClass;                                                       \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                     \
            {0, 0, 0, nullptr}};                                                              \
        static const AFX_MSGMAP map = {TheBaseClass::GetThisMessageMap(), entries};           \
        return &map;                                                                          \
    }

// A command from a control: notification code and control id. The member is called through
// the object, so a virtual member reaches the most derived override.
#define ON_CONTROL(code, id, memberFxn)                                       \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id),              \
     [](CWnd* wnd, WPARAM, LPARAM) -> LRESULT {                               \
         static_cast<ThisClass*>(wnd)->memberFxn();                           \
         return 0;                                                            \
     }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// Draw requests of owner-drawn controls go to the virtual OnDrawItem(control id, item).
#define ON_WM_DRAWITEM()                                                                 \
    {WM_DRAWITEM, 0, 0,                                                                  \
     [](CWnd* wnd, WPARAM wParam, LPARAM lParam) -> LRESULT {                            \
         static_cast<ThisClass*>(wnd)->OnDrawItem(static_cast<int>(wParam),              \
                                                  reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); \
         return TRUE;                                                                    \
     }},
