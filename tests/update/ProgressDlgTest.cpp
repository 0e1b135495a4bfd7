// ProgressDlgTest.cpp: the progress window with real windows, input and messages.
#include "update/ProgressDlg.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const UINT kCounted = WM_APP + 7;
int g_counted = 0;
int g_setText = 0;
WNDPROC g_staticProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCounted)
        ++g_counted;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CountSetText(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        ++g_setText;
    return CallWindowProcA(g_staticProc, hWnd, message, wParam, lParam);
}

// A plain top-level window (or a child of one) to own the progress window.
class TestWindow : public CWnd {
public:
    explicit TestWindow(HWND parent = nullptr)
    {
        static ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = OwnerProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "VantorixProgressTestOwner";
            return RegisterClassA(&wc);
        }();
        DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        m_hWnd = CreateWindowExA(0, MAKEINTATOM(atom), "Owner", style, 10, 10, 300, 200, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() override { ::DestroyWindow(m_hWnd); }
};

std::string Text(HWND h, int id = 0)
{
    char text[256] = {};
    if (id)
        GetDlgItemTextA(h, id, text, sizeof(text));
    else
        GetWindowTextA(h, text, sizeof(text));
    return text;
}

// Refuses every dialog window of the thread.
HHOOK g_hook = nullptr;
LRESULT CALLBACK RefuseDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = {};
    if (code == HCBT_CREATEWND && GetClassNameA((HWND)wParam, name, sizeof(name)) && !strcmp(name, "#32770"))
        return 1;
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(owner.m_hWnd && IsWindowEnabled(owner)); }
    TestWindow owner;
    CProgressDlg dlg;
};

}  // namespace

TEST_F(ProgressDlgTest, NewWindowShowsTheTemplateAndDisablesItsOwner)
{
    EXPECT_EQ(dlg.m_nCaptionID, (UINT)IDS_PROGRESS_CAPTION);
    EXPECT_TRUE(dlg.m_nLower == 0 && dlg.m_nUpper == 100 && dlg.m_nStep == 10);
    EXPECT_FALSE(dlg.m_bCancelled || dlg.m_bOwnerDisabled);

    ASSERT_TRUE(dlg.Create(&owner));
    HWND h = dlg.m_hWnd;
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(GetWindow(h, GW_OWNER), owner.m_hWnd);
    EXPECT_EQ(dlg.m_pParentWnd, &owner);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(Text(h), "Vantorix");
    EXPECT_EQ(Text(h, IDC_PERCENT_TEXT), " 0 %");
    EXPECT_EQ(Text(h, IDC_STATUS_TEXT), "");

    HWND bar = GetDlgItem(h, IDC_PROGRESS_BAR);
    EXPECT_EQ(dlg.m_progressBar.m_hWnd, bar);
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_TRUE(range.iLow == 0 && range.iHigh == 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 10);

    dlg.SetStatusText("Checking for update of Studio Pack");
    EXPECT_EQ(Text(h, IDC_STATUS_TEXT), "Checking for update of Studio Pack");
    EXPECT_EQ(GetWindowLongA(GetDlgItem(h, IDC_STATUS_TEXT), GWL_STYLE) & (SS_ENDELLIPSIS | SS_NOPREFIX),
              SS_ENDELLIPSIS | SS_NOPREFIX);
    // Centred over its owner (at 10, 10, 300 by 200); over a hidden owner, in the work area.
    RECT rc, area;
    GetWindowRect(h, &rc);
    EXPECT_LE(abs(rc.left + rc.right - 320) + abs(rc.top + rc.bottom - 220), 2);
    EXPECT_TRUE(dlg.DestroyWindow());
    ShowWindow(owner, SW_HIDE);
    ASSERT_TRUE(dlg.Create(&owner));
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(h = dlg.m_hWnd, &rc);
    EXPECT_LE(abs(rc.left + rc.right - area.left - area.right) + abs(rc.top + rc.bottom - area.top - area.bottom), 2);
    ShowWindow(owner, SW_SHOW);
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(dlg.DestroyWindow());

    CProgressDlg other(IDS_ABOUTBOX);
    ASSERT_TRUE(other.Create(nullptr));
    EXPECT_EQ(Text(other.m_hWnd), "&About vantorix...");
}

TEST_F(ProgressDlgTest, PercentageTextIsWrittenOnlyWhenItChanges)
{
    ASSERT_TRUE(dlg.Create(&owner));
    HWND text = GetDlgItem(dlg.m_hWnd, IDC_PERCENT_TEXT);
    g_staticProc = (WNDPROC)SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)CountSetText);
    g_setText = 0;
    const struct {
        int position;
        const char* text;
        int writes;
    } rows[] = {
        {0, "0%", 1},     {0, "0%", 1},      {40, "40%", 2},  {40, "40%", 2},   {140, "40%", 2},
        {99, "99%", 3},   {100, "100%", 4},  {110, "10%", 5}, {120, "20%", 6},  {200, "0%", 7},
        {2147483647, "47%", 8},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(dlg.SetProgress(row.position));
        EXPECT_EQ(Text(dlg.m_hWnd, IDC_PERCENT_TEXT), row.text) << row.position;
        EXPECT_EQ(g_setText, row.writes) << row.position;
    }
    SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)g_staticProc);
    dlg.SetProgress(40);
    EXPECT_EQ(dlg.m_progressBar.GetPos(), 40);
}

TEST_F(ProgressDlgTest, CancelButtonEscAndCloseBoxOnlyRaiseTheFlag)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        ASSERT_TRUE(dlg.Create(&owner));
        HWND h = dlg.m_hWnd;
        PostMessageA(h, WM_COMMAND, IDOK, 0);  // no button: does nothing
        EXPECT_FALSE(dlg.SetProgress(10));
        HWND cancel = GetDlgItem(h, IDCANCEL);
        if (way == 0)
            PostMessageA(cancel, BM_CLICK, 0, 0);
        else if (way == 1)
            PostMessageA(GetFocus() ? GetFocus() : cancel, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(dlg.SetProgress(20));
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(Text(h, IDC_PERCENT_TEXT), "20%");
        EXPECT_TRUE(dlg.SetProgress(30));
        dlg.DestroyWindow();
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    ASSERT_TRUE(dlg.Create(&owner));  // the next check starts uncancelled
    EXPECT_FALSE(dlg.SetProgress(0));
}

TEST_F(ProgressDlgTest, OwnerGetsItsInputBackOnEveryWayOut)
{
    HWND h;
    {
        CProgressDlg scoped;
        ASSERT_TRUE(scoped.Create(&owner));
        h = scoped.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(IsWindowEnabled(owner));

    // A second Create replaces the window; one destroyed from outside is forgotten.
    ASSERT_TRUE(dlg.Create(&owner));
    h = dlg.m_hWnd;
    ASSERT_TRUE(dlg.Create(&owner));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(dlg.m_progressBar.m_hWnd, GetDlgItem(dlg.m_hWnd, IDC_PROGRESS_BAR));
    ::DestroyWindow(dlg.m_hWnd);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.SetProgress(10));
    ASSERT_TRUE(dlg.Create(&owner));
    EXPECT_FALSE(IsWindowEnabled(owner));
    dlg.DestroyWindow();
    EXPECT_TRUE(IsWindowEnabled(owner));

    // A child parent: its top-level window is the owner.
    TestWindow child(owner.m_hWnd);
    ASSERT_TRUE(dlg.Create(&child));
    ASSERT_NE(dlg.m_pParentWnd, nullptr);
    EXPECT_EQ(dlg.m_pParentWnd->m_hWnd, owner.m_hWnd);
    EXPECT_FALSE(IsWindowEnabled(owner));
    dlg.DestroyWindow();
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, OwnerDisabledBeforeStaysDisabled)
{
    EnableWindow(owner, FALSE);
    ASSERT_TRUE(dlg.Create(&owner));
    EXPECT_FALSE(dlg.m_bOwnerDisabled);
    dlg.DestroyWindow();
    EXPECT_FALSE(IsWindowEnabled(owner));
    {
        CProgressDlg scoped;
        ASSERT_TRUE(scoped.Create(&owner));
    }
    EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, SetProgressServesTheThreadsMessagesAndLeavesQuit)
{
    ASSERT_TRUE(dlg.Create(&owner));
    g_counted = 0;
    PostMessageA(owner, kCounted, 0, 0);
    PostQuitMessage(6);
    PostMessageA(owner, kCounted, 0, 0);
    EXPECT_FALSE(dlg.SetProgress(5));
    EXPECT_EQ(g_counted, 2);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 6u);
}

TEST_F(ProgressDlgTest, HarmlessWithoutAWindowAndWhenCreateFails)
{
    dlg.SetStatusText("Checking for update of Studio Pack");
    g_counted = 0;
    PostMessageA(owner, kCounted, 0, 0);
    EXPECT_FALSE(dlg.SetProgress(50));
    EXPECT_EQ(g_counted, 1);
    EXPECT_FALSE(dlg.DestroyWindow());

    g_hook = SetWindowsHookExA(WH_CBT, RefuseDialogs, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    dlg.m_bCancelled = TRUE;
    BOOL created = dlg.Create(&owner);
    UnhookWindowsHookEx(g_hook);
    EXPECT_FALSE(created);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    dlg.SetStatusText("Checking for update of Studio Pack");
    EXPECT_TRUE(dlg.SetProgress(10));  // only a created window clears the flag
}
