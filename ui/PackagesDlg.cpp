// PackagesDlg.cpp: CPackagesDlg set-up, command routing, the "Buy now" rule, the
// system menu's About entry and minimised painting.
#include "ui/PackagesDlg.h"

#include "about/AboutDlg.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "ui/InstanceMessage.h"

#include <stdio.h>

BEGIN_MESSAGE_MAP(CPackagesDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
    ON_BN_CLICKED(IDC_BUY_NOW, BuyNow)
    ON_NOTIFY(NM_CLICK, IDC_PRODUCT_LIST, OnListClick)
    ON_NOTIFY(NM_RCLICK, IDC_PRODUCT_LIST, OnListClick)
    ON_BN_CLICKED(IDC_CLOSE, OnClose)
    ON_REGISTERED_MESSAGE(g_nInstanceMessage, OnInstanceMessage)
    ON_BN_CLICKED(IDC_SAVE_REPORT, SaveStatusReport)
    ON_BN_CLICKED(IDC_CHECK_UPDATES, OnCheckUpdates)
    ON_NOTIFY(LVN_KEYDOWN, IDC_PRODUCT_LIST, OnListKeyDown)
    ON_MESSAGE(kFollowSelectionMessage, OnFollowSelection)
    ON_MESSAGE(WM_DESTROY, OnDestroyDialog)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenu)
    ON_COMMAND(ID_OPEN_UPDATE_PAGE, OnOpenUpdatePage)
    ON_COMMAND(ID_COPY_ROWS, CopySelectedRows)
END_MESSAGE_MAP()

namespace {

// The list's images drawn for a small-icon size; other sizes scale the 16-pixel ones.
struct ListArt {
    int size;
    UINT stateImages;
    UINT smallImages;
};
const ListArt kListArt[] = {
    {16, IDB_STATE_IMAGES, IDB_SMALL_IMAGES},
    {20, IDB_STATE_IMAGES_20, IDB_SMALL_IMAGES_20},
    {24, IDB_STATE_IMAGES_24, IDB_SMALL_IMAGES_24},
    {32, IDB_STATE_IMAGES_32, IDB_SMALL_IMAGES_32},
};

}  // namespace

CPackagesDlg::CPackagesDlg(CWnd* pParent)
    : CDialog(IDD_VANTORIX_DIALOG, pParent),
      m_hAccel(nullptr),
      m_hHotCursor(nullptr),
      m_hClassCursor(nullptr),
      m_bLinkCursor(false),
      m_progress(0),
      m_hIcon(::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON),
                          MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CPackagesDlg::~CPackagesDlg()
{
}

void CPackagesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PRODUCT_LIST, m_list);
    DDX_Control(pDX, IDC_BUY_NOW, m_buyNow);
}

BOOL CPackagesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    HMENU sysMenu = GetSystemMenu(FALSE);
    if (sysMenu) {
        char about[256];
        if (::LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, about, sizeof(about)) > 0 && about[0]) {
            ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);

    m_hAccel = ::LoadAcceleratorsA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_ACCELERATOR));

    // The system's small-icon size follows the display's DPI (16 at 96 DPI); the rows
    // grow with the images.
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const COLORREF mask = RGB(255, 0, 0);
    const ListArt* art = nullptr;
    for (const ListArt& a : kListArt)
        if (a.size == size)
            art = &a;
    if (art) {
        m_stateImages.Create(art->stateImages, size, 1, mask);
        m_smallImages.Create(art->smallImages, size, 1, mask);
    } else {
        m_stateImages.CreateScaled(IDB_STATE_IMAGES, 16, size, 1, mask);
        m_smallImages.CreateScaled(IDB_SMALL_IMAGES, 16, size, 1, mask);
    }
    m_list.SetImageList(m_stateImages, LVSIL_STATE);
    m_list.SetImageList(m_smallImages, LVSIL_SMALL);

    RECT rc;
    m_list.GetClientRect(&rc);
    const int width = rc.right - rc.left;
    m_list.InsertColumn(0, "Application", LVCFMT_LEFT, (int)(width * 0.5));
    m_list.InsertColumn(1, "Current Version", LVCFMT_LEFT, (int)(width * 0.15));
    m_list.InsertColumn(2, "Update Version", LVCFMT_LEFT, (int)(width * 0.15));

    m_hHotCursor = m_list.GetHotCursor();
    // Wine's list view has no hot cursor of its own; the system's hand stands in.
    if (!m_hHotCursor)
        m_hHotCursor = ::LoadCursorA(nullptr, IDC_HAND);
    // GetClassLongPtrA is GetClassLongA in a 32-bit build.
    m_hClassCursor = (HCURSOR)::GetClassLongPtrA(m_hWnd, GCLP_HCURSOR);

    m_list.SetExtendedStyle(0, LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);

    m_tooltip.DestroyWindow();
    m_tooltip.Create(&m_list, TTS_ALWAYSTIP);
    m_bLinkCursor = false;
    RECT client;
    GetClientRect(&client);
    m_tooltip.AddTool(&m_list, "", &client, IDC_TOOLTIP_TOOL);
    m_tooltip.ShowWindow(SW_HIDE);
    m_tooltip.UpdateTipText("Update is available.", &m_list, IDC_TOOLTIP_TOOL);

    EnableBuyNow(false);

    Populate(false);
    return TRUE;
}

BOOL CPackagesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_REFRESH_F5)
        Populate(false);
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPackagesDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    BOOL result = CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    // The rule only ever disables: with the button disabled it has nothing to do. (A pass
    // routes several notifications per row; this keeps them cheap.)
    if (!m_buyNow.m_hWnd || !m_buyNow.IsWindowEnabled())
        return result;
    if (!m_list.m_hWnd || !m_list.IsWindowVisible())
        return result;
    int mark = m_list.GetSelectionMark();
    if (mark == -1) {
        EnableBuyNow(false);
    } else {
        char text[100];
        m_list.GetItemText(mark, 0, text, sizeof(text));
        if (!text[0])
            EnableBuyNow(false);
    }
    return result;
}

BOOL CPackagesDlg::PreTranslateMessage(MSG* pMsg)
{
    TrackLinkCursor(pMsg);
    // The accelerator's result does not decide; the dialog still sees the key.
    ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CPackagesDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        Default();
    }
}

void CPackagesDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)(HDC)dc, 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rc;
    GetClientRect(&rc);
    const int x = (rc.right - rc.left - cxIcon + 1) / 2;
    const int y = (rc.bottom - rc.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CPackagesDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_hIcon;
}

void CPackagesDlg::OnRefresh()
{
    Populate(false);
}

void CPackagesDlg::OnClose()
{
    EndDialog(0);
}

void CPackagesDlg::OnCheckUpdates()
{
    Populate(true);
}

LRESULT CPackagesDlg::OnInstanceMessage(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return (LRESULT)g_nInstanceMessage;
}

LRESULT CPackagesDlg::OnDestroyDialog(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // The hot cursor lives on the list's window class: give it back its own.
    if (m_bLinkCursor && m_list.m_hWnd)
        ::SetClassLongPtrA(m_list.m_hWnd, GCLP_HCURSOR, (LONG_PTR)m_hClassCursor);
    m_bLinkCursor = false;
    // The image lists belong to this object, not to the list, which would otherwise
    // destroy them with itself.
    if (m_list.m_hWnd) {
        m_list.SetImageList(nullptr, LVSIL_STATE);
        m_list.SetImageList(nullptr, LVSIL_SMALL);
    }
    m_tooltip.DestroyWindow();
    m_list.Detach();
    m_buyNow.Detach();
    Default();
    return 0;
}

void CPackagesDlg::EnableBuyNow(bool enable) const
{
    // A disabled control loses the focus to nothing, and the keyboard with it.
    if (!enable && m_buyNow.m_hWnd && ::GetFocus() == m_buyNow.m_hWnd)
        SendMessage(WM_NEXTDLGCTL, (WPARAM)m_list.m_hWnd, TRUE);
    ::EnableWindow(m_buyNow.m_hWnd, enable ? TRUE : FALSE);
}

void CPackagesDlg::ShowComponentsWarning() const
{
    ::MessageBoxA(m_hWnd, "Some components not installed or work incorrectly.", "Vantorix", MB_ICONEXCLAMATION);
}

void CPackagesDlg::ShowUncheckedWarning(int unchecked, int listed) const
{
    char text[160];
    snprintf(text, sizeof(text),
             "Could not check %d of %d packages for updates. Newer versions found earlier are still shown.", unchecked,
             listed);
    ::MessageBoxA(m_hWnd, text, "Vantorix", MB_ICONEXCLAMATION | MB_OK);
}
