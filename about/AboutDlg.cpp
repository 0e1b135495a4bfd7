// AboutDlg.cpp: the About box: the version text of the own program and the logo.
#include "about/AboutDlg.h"
#include "about/ModuleVersion.h"
#include "about/TransparentBitmap.h"
#include "framework/Handles.h"
#include "res/resource.h"

#include <stdio.h>

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent), m_hBitmap(nullptr)
{
    // Monochrome: drawn in black and white at any colour depth; white is transparent.
    m_hBitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LOGO),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_MONOCHROME));
}

CAboutDlg::~CAboutDlg()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CModuleVersion version("");
    char text[64];
    snprintf(text, sizeof(text), "Version: %s.%s.%s (build: %s)", version.m_parts[0], version.m_parts[1],
             version.m_parts[2], version.m_parts[3]);
    ::SetDlgItemTextA(m_hWnd, IDC_VERSION_TEXT, text);
    return TRUE;
}

void CAboutDlg::OnPaint()
{
    CPaintDC dc(m_hWnd);
    PaintTransparentBitmap(dc, m_hBitmap, 10, 10, RGB(255, 255, 255));
}
