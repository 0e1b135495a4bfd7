// UiDriver.cpp: driving the real main dialog in tests.
#include "tests/ui/UiDriver.h"

#include "res/resource.h"
#include "tests/support/TestProcess.h"

#include <algorithm>
#include <string.h>

void StoreUpdateRecord(ScopedPackages& packages, const char* package, const char* version, const char* url)
{
    packages.SetRaw(package, "UpdateVersion", REG_SZ, version, (DWORD)strlen(version));
    if (url)
        packages.SetRaw(package, "ProductUpdateUrl", REG_SZ, url, (DWORD)strlen(url));
}

std::vector<ListRow> ReadRows(const CListCtrl& list)
{
    std::vector<ListRow> rows;
    int count = list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        char text[260];
        ListRow row;
        list.GetItemText(i, 0, text, sizeof(text));
        row.name = text;
        list.GetItemText(i, 1, text, sizeof(text));
        row.version = text;
        list.GetItemText(i, 2, text, sizeof(text));
        row.update = text;
        LVITEMA item = {};
        item.mask = LVIF_STATE | LVIF_IMAGE;
        item.iItem = i;
        item.stateMask = LVIS_STATEIMAGEMASK;
        list.GetItem(&item);
        row.stateImage = (int)((item.state & LVIS_STATEIMAGEMASK) >> 12);
        row.image = item.iImage;
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> RowNames(const CListCtrl& list)
{
    std::vector<std::string> names;
    for (const ListRow& row : ReadRows(list))
        names.push_back(row.name);
    return names;
}

void Pump(CPackagesDlg& dlg, DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!dlg.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

CDialogUnderTest::CDialogUnderTest()
{
    created = Create(IDD_VANTORIX_DIALOG) != FALSE;
    if (created)
        Pump(*this, 20);
}

CDialogUnderTest::~CDialogUnderTest()
{
    if (m_hWnd)
        DestroyWindow();
    // Leave nothing of this dialog in the queue for the next test.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void ClickRow(CPackagesDlg& dlg, int row, RowSpot spot, bool right, WPARAM keys)
{
    const CListCtrl& list = dlg.m_list;
    RECT rc = {};
    POINT pt = {};
    if (spot == RowSpot::Below) {
        int last = list.GetItemCount() - 1;
        if (last >= 0) {
            list.GetItemRect(last, &rc, LVIR_BOUNDS);
            pt = {rc.left + 40, rc.bottom + 12};
        } else {
            pt = {40, 60};
        }
    } else if (spot == RowSpot::StateIcon) {
        list.GetItemRect(row, &rc, LVIR_ICON);
        pt = {rc.left - 8, (rc.top + rc.bottom) / 2};
    } else {
        list.GetItemRect(row, &rc, LVIR_LABEL);
        pt = {rc.left + 24, (rc.top + rc.bottom) / 2};
    }
    POINT screen = pt;
    ClientToScreen(list.m_hWnd, &screen);
    SetCursorPos(screen.x, screen.y);
    Pump(dlg, 10);
    LPARAM lp = MAKELPARAM(pt.x, pt.y);
    PostMessageA(list.m_hWnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, (right ? MK_RBUTTON : MK_LBUTTON) | keys, lp);
    PostMessageA(list.m_hWnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, keys, lp);
    Pump(dlg, 40);
}

void PressKey(CPackagesDlg& dlg, HWND target, UINT vk)
{
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(target, WM_KEYDOWN, vk, (LPARAM)(1 | (scan << 16)));
    PostMessageA(target, WM_KEYUP, vk, (LPARAM)(1 | (scan << 16) | 0xC0000000u));
    Pump(dlg, 40);
}

bool BuyNowEnabled(const CPackagesDlg& dlg)
{
    return IsWindowEnabled(dlg.GetDlgItem(IDC_BUY_NOW)) != FALSE;
}

POINT LinkScreenPoint(const CPackagesDlg& dlg, POINT listPoint)
{
    POINT screen = listPoint;
    ClientToScreen(dlg.m_list.m_hWnd, &screen);
    return screen;
}

BOOL SendMouseThroughDialog(CPackagesDlg& dlg, UINT message, POINT screen)
{
    MSG msg = {};
    msg.hwnd = dlg.m_list.m_hWnd;
    msg.message = message;
    msg.wParam = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
    POINT client = screen;
    ScreenToClient(dlg.m_list.m_hWnd, &client);
    msg.lParam = MAKELPARAM(client.x, client.y);
    msg.time = GetTickCount();
    msg.pt = screen;
    return dlg.PreTranslateMessage(&msg);
}

POINT UpdateTextPoint(const CListCtrl& list, int row)
{
    RECT rc;
    list.GetItemRect(row, &rc, LVIR_BOUNDS);
    int left = (int)((rc.right - rc.left) * 0.85);
    return {(left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

namespace {

CWindowCloser* g_closer = nullptr;
std::vector<HWND> g_handled;

BOOL CALLBACK CollectText(HWND child, LPARAM param)
{
    char cls[64];
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") == 0) {
        char text[512];
        GetWindowTextA(child, text, sizeof(text));
        if (text[0]) {
            std::string& all = *reinterpret_cast<std::string*>(param);
            if (!all.empty())
                all += '|';
            all += text;
        }
    }
    return TRUE;
}

BOOL CALLBACK CloseOne(HWND window, LPARAM)
{
    if (!g_closer || !IsWindowVisible(window))
        return TRUE;
    char cls[64];
    GetClassNameA(window, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0)
        return TRUE;
    // The main dialog itself stays open.
    if (GetDlgItem(window, IDC_PRODUCT_LIST) ||
        std::find(g_handled.begin(), g_handled.end(), window) != g_handled.end())
        return TRUE;
    g_handled.push_back(window);
    CWindowCloser::Seen seen;
    char caption[256];
    GetWindowTextA(window, caption, sizeof(caption));
    seen.caption = caption;
    EnumChildWindows(window, CollectText, (LPARAM)&seen.text);
    seen.ownerListRows = -1;
    HWND owner = GetWindow(window, GW_OWNER);
    HWND list = owner ? GetDlgItem(owner, IDC_PRODUCT_LIST) : nullptr;
    if (list)
        seen.ownerListRows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    g_closer->seen.push_back(seen);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK CloserTick(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseOne, 0);
}

UINT_PTR g_closerTimer = 0;

}  // namespace

CWindowCloser::CWindowCloser()
{
    g_closer = this;
    g_handled.clear();
    g_closerTimer = SetTimer(nullptr, 0, 30, CloserTick);
}

CWindowCloser::~CWindowCloser()
{
    KillTimer(nullptr, g_closerTimer);
    g_closer = nullptr;
}

CRecorderLog::CRecorderLog()
{
    path = MakeTempDir("recorder") + "browser.log";
    SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", path.c_str());
}

CRecorderLog::~CRecorderLog()
{
    SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", nullptr);
    DeleteFileA(path.c_str());
}

std::string CRecorderLog::WaitForText(DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    for (;;) {
        std::string text = ReadWholeFile(path);
        if (!text.empty() || GetTickCount() - start >= timeoutMs)
            return text;
        Sleep(50);
    }
}
