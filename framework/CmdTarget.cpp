// CmdTarget.cpp: message map search and command dispatch.
#include "framework/CmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* /*pHandlerInfo*/)
{
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (HIWORD((DWORD)nCode) == WM_NOTIFY) {
        message = WM_NOTIFY;
        code = LOWORD((DWORD)nCode);
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != message || e->nID != nID)
                continue;
            // Notification codes are 16-bit in a WM_NOTIFY's routing code; compare them so.
            UINT entryCode = message == WM_NOTIFY ? LOWORD(e->nCode) : e->nCode;
            if (entryCode == code)
                return DispatchCmdMsg(e, pExtra);
        }
    }
    return FALSE;
}

BOOL CCmdTarget::DispatchCmdMsg(const AFX_MSGMAP_ENTRY* entry, void* pExtra)
{
    switch (entry->nSig) {
    case AfxSig_vv:
        (this->*entry->pfn)();
        return TRUE;
    case AfxSig_vNMHDRpl: {
        AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!notify)
            return FALSE;
        auto fn = reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn);
        (this->*fn)(notify->pNMHDR, notify->pResult);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const
{
    if (message == WM_COMMAND || message == WM_NOTIFY)
        return nullptr;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->pnRegistered ? (*e->pnRegistered != 0 && *e->pnRegistered == message)
                                : e->nMessage == message)
                return e;
        }
    }
    return nullptr;
}
