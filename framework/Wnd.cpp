// Wnd.cpp: CWnd message dispatch.
#include "framework/Wnd.h"
#include "framework/WinApp.h"

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND h = m_hWnd;
    BOOL ok = ::DestroyWindow(h);
    if (ok || !::IsWindow(h))
        m_hWnd = nullptr;
    return ok;
}

HWND CWnd::GetSafeOwner(HWND hParent)
{
    HWND h = hParent;
    if (!h) {
        CWnd* main = AfxGetMainWnd();
        h = main ? main->m_hWnd : nullptr;
    }
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    return h;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // An accelerator (code 1) routes as a plain command.
    if (nCode == 1)
        nCode = 0;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    AFX_NOTIFY notify = {pResult, hdr};
    return OnCmdMsg((UINT)hdr->idFrom, MAKELONG(hdr->code, WM_NOTIFY), &notify, nullptr);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    m_currentMsg.hwnd = m_hWnd;
    m_currentMsg.message = message;
    m_currentMsg.wParam = wParam;
    m_currentMsg.lParam = lParam;
    *pResult = 0;

    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam) != FALSE;
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult) != FALSE;

    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message);
    if (!e)
        return false;

    bool savedDefault = m_bDefault;
    m_bDefault = false;
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*e->pfn)();
        break;
    case AfxSig_vwl: {
        auto fn = reinterpret_cast<void (CCmdTarget::*)(UINT, LPARAM)>(e->pfn);
        (this->*fn)((UINT)wParam, lParam);
        break;
    }
    case AfxSig_hv: {
        auto fn = reinterpret_cast<HCURSOR (CCmdTarget::*)()>(e->pfn);
        *pResult = (LRESULT)(this->*fn)();
        break;
    }
    case AfxSig_lwl: {
        auto fn = reinterpret_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(e->pfn);
        *pResult = (this->*fn)(wParam, lParam);
        break;
    }
    default:
        m_bDefault = true;
        break;
    }
    bool handled = !m_bDefault;
    m_bDefault = savedDefault;
    return handled;
}

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/)
{
    return FALSE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.Attach(pDX->m_pDlgWnd->GetDlgItem(nIDC));
}
