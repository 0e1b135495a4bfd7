// Dialog.cpp: dialog procedure, modal loop and modeless creation.
#include "framework/Dialog.h"
#include "framework/DialogPlacement.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dlg;
    if (message == WM_INITDIALOG) {
        dlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, (LONG_PTR)dlg);
        if (dlg)
            dlg->m_hWnd = hWnd;
    } else {
        dlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!dlg)
        return FALSE;

    if (message == WM_INITDIALOG) {
        RECT before = {};
        ::GetWindowRect(hWnd, &before);
        BOOL focus = TRUE;
        try {
            focus = dlg->OnInitDialog();
        } catch (...) {
        }
        if (dlg->m_hWnd == hWnd)
            dlg->PlaceIfUnplaced(before);
        return focus;
    }

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = dlg->OnWndMsg(message, wParam, lParam, &result);
    } catch (...) {
        handled = false;
    }

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dlg->m_hWnd = nullptr;
        return FALSE;
    }
    if (!handled)
        return FALSE;

    switch (message) {
    // These messages return their value directly from a dialog procedure.
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM:
        return (INT_PTR)result;
    default:
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = GetSafeOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    if (hOwner == m_hWnd)
        hOwner = nullptr;
    bool ownerDisabled = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        ownerDisabled = true;
    }

    m_bEndModal = false;
    m_nModalResult = -1;
    HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                  DialogProc, (LPARAM)this);
    if (h) {
        if (!m_bEndModal && !::IsWindowVisible(h))
            ::ShowWindow(h, SW_SHOWNORMAL);
        m_bInModalLoop = true;
        while (!m_bEndModal) {
            MSG msg;
            BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got == -1)
                break;
            if (got == 0) {
                // Leave the quit request for the enclosing loop.
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        m_bInModalLoop = false;
    }

    if (ownerDisabled)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    if (m_hWnd)
        CDialog::DestroyWindow();
    return m_nModalResult;
}

void CDialog::PlaceIfUnplaced(const RECT& before) const
{
    RECT now = {};
    ::GetWindowRect(m_hWnd, &now);
    if (now.left != before.left || now.top != before.top)
        return;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), (LPCSTR)RT_DIALOG);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data ||
        DialogTemplateGivesPosition(static_cast<const unsigned char*>(data), ::SizeofResource(module, resource)))
        return;
    CenterWindow();
}

void CDialog::CenterWindow() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && (!::IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    RECT centre = area;
    if (owner)
        ::GetWindowRect(owner, &centre);
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    const int x = CentredStart(rc.right - rc.left, centre.left, centre.right, area.left, area.right);
    const int y = CentredStart(rc.bottom - rc.top, centre.top, centre.bottom, area.top, area.bottom);
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr, DialogProc, (LPARAM)this);
    return h != nullptr;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (!m_hWnd)
        return;
    if (m_bInModalLoop)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::DestroyWindow()
{
    return CWnd::DestroyWindow();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/)
{
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd)
        return FALSE;
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}
