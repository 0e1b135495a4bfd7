// CmdTarget.h: message maps and command routing.
//
// How to use: a class derived from CCmdTarget declares DECLARE_MESSAGE_MAP() and
// defines its table between BEGIN_MESSAGE_MAP(theClass, baseClass) and
// END_MESSAGE_MAP(). Commands (WM_COMMAND) and notifications (WM_NOTIFY) reach the
// table through OnCmdMsg; other window messages through CWnd::OnWndMsg. A class's
// table is searched before its base class's table.
#pragma once

#include <windows.h>

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures that the tables can hold.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,          // void OnX()
    AfxSig_vNMHDRpl,    // void OnX(NMHDR*, LRESULT*)
    AfxSig_vwl,         // void OnX(UINT, LPARAM)             WM_SYSCOMMAND
    AfxSig_hv,          // HCURSOR OnX()                      WM_QUERYDRAGICON
    AfxSig_lwl,         // LRESULT OnX(WPARAM, LPARAM)        registered messages
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;          // window message, WM_COMMAND, WM_NOTIFY, or 0xC000 (registered)
    UINT nCode;             // notification code for WM_COMMAND and WM_NOTIFY entries
    UINT nID;               // control or command id
    UINT nSig;              // AfxSig
    const UINT* pnRegistered; // the id of a registered message, read at dispatch time
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Extra data that OnCmdMsg carries for a WM_NOTIFY.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

class CCmdTarget {
public:
    CCmdTarget() {}
    virtual ~CCmdTarget() {}

    // Routes a command (nCode a WM_COMMAND code) or a notification
    // (nCode MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY) to its handler.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Finds the entry for a window message (not a command or notification).
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;

protected:
    // Calls a WM_COMMAND or WM_NOTIFY handler.
    BOOL DispatchCmdMsg(const AFX_MSGMAP_ENTRY* entry, void* pExtra);

    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        (void)sizeof(ThisClass); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, AfxSig_end, nullptr, nullptr} }; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap; \
    }

#define AFX_HANDLER(type, fn) reinterpret_cast<AFX_PMSG>(static_cast<type>(&ThisClass::fn))

#define ON_COMMAND(id, fn) \
    {WM_COMMAND, 0, (UINT)(id), AfxSig_vv, nullptr, AFX_HANDLER(void (ThisClass::*)(), fn)},
#define ON_BN_CLICKED(id, fn) \
    {WM_COMMAND, BN_CLICKED, (UINT)(id), AfxSig_vv, nullptr, AFX_HANDLER(void (ThisClass::*)(), fn)},
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), AfxSig_vNMHDRpl, nullptr, \
     AFX_HANDLER(void (ThisClass::*)(NMHDR*, LRESULT*), fn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) \
    {0xC000, 0, 0, AfxSig_lwl, &(nMessageVariable), \
     AFX_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), fn)},
#define ON_MESSAGE(message, fn) \
    {(UINT)(message), 0, 0, AfxSig_lwl, nullptr, \
     AFX_HANDLER(LRESULT (ThisClass::*)(WPARAM, LPARAM), fn)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AfxSig_vwl, nullptr, AFX_HANDLER(void (ThisClass::*)(UINT, LPARAM), OnSysCommand)},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AfxSig_vv, nullptr, AFX_HANDLER(void (ThisClass::*)(), OnPaint)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv, nullptr, AFX_HANDLER(HCURSOR (ThisClass::*)(), OnQueryDragIcon)},
