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

namespace {

// The logo drawn for a display DPI; other DPIs scale the 96 DPI one (170 x 25).
struct LogoArt {
    int dpi;
    UINT bitmap;
};
const LogoArt kLogoArt[] = {{96, IDB_LOGO}, {120, IDB_LOGO_120}, {144, IDB_LOGO_144}, {192, IDB_LOGO_192}};

int DisplayDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent), m_hBitmap(nullptr)
{
    const int dpi = DisplayDpi();
    UINT bitmap = IDB_LOGO;
    int cx = ::MulDiv(170, dpi, 96), cy = ::MulDiv(25, dpi, 96);
    for (const LogoArt& art : kLogoArt)
        if (art.dpi == dpi) {
            bitmap = art.bitmap;
            cx = cy = 0;  // the resource's own size
        }
    // Monochrome: drawn in black and white at any colour depth; white is transparent.
    m_hBitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmap),
                                                  IMAGE_BITMAP, cx, cy, LR_CREATEDIBSECTION | LR_MONOCHROME));
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
