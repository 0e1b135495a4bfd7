// ProgressDlg.cpp: the modeless progress window of an update check.
#include "update/ProgressDlg.h"
#include "res/resource.h"

#include <mbstring.h>
#include <stdio.h>

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(UINT nCaptionID)
    : CDialog(IDD_PROGRESS),
      m_nCaptionID(nCaptionID != 0 ? nCaptionID : IDS_PROGRESS_CAPTION),
      m_nLower(0),
      m_nUpper(100),
      m_nStep(10),
      m_bCancelled(FALSE),
      m_bOwnerDisabled(FALSE)
{
}

CProgressDlg::~CProgressDlg()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        CProgressDlg::DestroyWindow();
    else
        ReenableOwner();  // the window was destroyed from outside
}

BOOL CProgressDlg::Create(CWnd* pParent)
{
    // A window left from an earlier check goes first, and gives its owner back.
    DestroyWindow();

    HWND hParent = pParent ? pParent->m_hWnd : nullptr;
    HWND hOwner = GetSafeOwner(hParent);
    m_ownerWnd.Attach(hOwner);
    CWnd* owner = nullptr;
    if (hOwner)
        owner = (pParent && hParent == hOwner) ? pParent : &m_ownerWnd;
    m_pParentWnd = owner;

    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        m_bOwnerDisabled = TRUE;
    }

    m_progressBar.Detach();
    BOOL created = CDialog::Create(IDD_PROGRESS, pParent);
    m_pParentWnd = owner;  // CDialog::Create keeps the parent given
    if (!created || !m_hWnd) {
        m_hWnd = nullptr;
        m_progressBar.Detach();
        ReenableOwner();
        return FALSE;
    }
    m_bCancelled = FALSE;
    return TRUE;
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progressBar);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_progressBar.SetRange(m_nLower, m_nUpper);
    m_progressBar.SetStep(m_nStep);
    m_progressBar.SetPos(m_nLower);

    char caption[256] = {};
    ::LoadStringA(AfxGetResourceHandle(), m_nCaptionID, caption, sizeof(caption));
    SetWindowText(caption);
    return TRUE;
}

void CProgressDlg::SetStatusText(const char* text)
{
    if (m_hWnd)
        ::SetDlgItemTextA(m_hWnd, IDC_STATUS_TEXT, text ? text : "");
}

bool CProgressDlg::SetProgress(int position)
{
    // Serve the thread's waiting messages; this is where Cancel is seen.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the thread's own loop.
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (m_hWnd && ::IsDialogMessageA(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    if (!m_hWnd)
        return m_bCancelled != FALSE;  // destroyed meanwhile, or never created

    m_progressBar.SetPos(position);

    // 100 shows as 100%, anything else beyond the range wraps into 0..99.
    long long percent = ((long long)position - m_nLower) * 100 / ((long long)m_nUpper - m_nLower);
    if (percent != 100)
        percent %= 100;

    char text[16];
    snprintf(text, sizeof(text), "%d%c", (int)percent, '%');
    char current[16] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_PERCENT_TEXT, current, sizeof(current));
    if (_mbscmp(reinterpret_cast<const unsigned char*>(current), reinterpret_cast<const unsigned char*>(text)) != 0)
        ::SetDlgItemTextA(m_hWnd, IDC_PERCENT_TEXT, text);

    return m_bCancelled != FALSE;
}

void CProgressDlg::ReenableOwner()
{
    if (m_bOwnerDisabled && m_pParentWnd && m_pParentWnd->m_hWnd)
        ::EnableWindow(m_pParentWnd->m_hWnd, TRUE);
    m_bOwnerDisabled = FALSE;
}

BOOL CProgressDlg::DestroyWindow()
{
    // The owner first, so that activation goes back to it.
    ReenableOwner();
    m_progressBar.Detach();
    return CDialog::DestroyWindow();
}

void CProgressDlg::OnOK()
{
    // No OK button: the command neither closes nor cancels.
}

void CProgressDlg::OnCancel()
{
    // Cancel button, Esc and close box: the caller sees it at the next SetProgress.
    m_bCancelled = TRUE;
}
