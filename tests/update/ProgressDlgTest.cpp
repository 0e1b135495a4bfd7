// ProgressDlgTest.cpp: the progress window with real windows, input and messages.
#include "update/ProgressDlg.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>

namespace {

const char kWindowClass[] = "VantorixProgressTestWindow";
const UINT kCountedMessage = WM_APP + 7;
int g_countedMessages = 0;

LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCountedMessage) {
        ++g_countedMessages;
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A plain top-level window (or a child of one) for the tests to own the progress window.
class TestWindow : public CWnd {
public:
    explicit TestWindow(HWND parent = nullptr)
    {
        static ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = TestWindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kWindowClass;
            return RegisterClassA(&wc);
        }();
        (void)atom;
        DWORD style = parent ? (WS_CHILD | WS_VISIBLE) : (WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        m_hWnd = CreateWindowExA(0, kWindowClass, "Owner", style, 10, 10, parent ? 100 : 400,
                                 parent ? 50 : 300, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() override
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
};

std::string ItemText(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dlg, id, text, sizeof(text));
    return text;
}

std::string Caption(HWND hWnd)
{
    char text[256] = {};
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

// Counts WM_SETTEXT reaching a subclassed control.
WNDPROC g_staticProc = nullptr;
int g_setTextCount = 0;

LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        ++g_setTextCount;
    return CallWindowProcA(g_staticProc, hWnd, message, wParam, lParam);
}

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(owner.m_hWnd, nullptr);
        ASSERT_TRUE(IsWindowEnabled(owner));
    }
    TestWindow owner;
};

}  // namespace

TEST_F(ProgressDlgTest, NewWindowShowsTheTemplateAndDisablesItsOwner)
{
    CProgressDlg dlg;
    EXPECT_EQ(dlg.m_nCaptionID, (UINT)IDS_PROGRESS_CAPTION);
    EXPECT_EQ(dlg.m_nLower, 0);
    EXPECT_EQ(dlg.m_nUpper, 100);
    EXPECT_EQ(dlg.m_nStep, 10);
    EXPECT_FALSE(dlg.m_bCancelled);
    EXPECT_FALSE(dlg.m_bOwnerDisabled);

    ASSERT_TRUE(dlg.Create(&owner));
    HWND h = dlg.m_hWnd;
    ASSERT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(GetWindow(h, GW_OWNER), owner.m_hWnd);
    EXPECT_EQ(dlg.m_pParentWnd, &owner);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_TRUE(dlg.m_bOwnerDisabled);
    EXPECT_EQ(Caption(h), "Vantorix");
    EXPECT_EQ(ItemText(h, IDC_PERCENT_TEXT), " 0 %");
    EXPECT_EQ(ItemText(h, IDC_STATUS_TEXT), "");

    HWND bar = GetDlgItem(h, IDC_PROGRESS_BAR);
    EXPECT_EQ(dlg.m_progressBar.m_hWnd, bar);
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 10);  // the step given

    dlg.SetStatusText("Checking for update of Studio Pack");
    EXPECT_EQ(ItemText(h, IDC_STATUS_TEXT), "Checking for update of Studio Pack");
    EXPECT_FALSE(dlg.SetProgress(0));
    EXPECT_EQ(ItemText(h, IDC_PERCENT_TEXT), "0%");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(dlg.m_bOwnerDisabled);
    EXPECT_FALSE(dlg.DestroyWindow());
}

TEST_F(ProgressDlgTest, PercentageText)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&owner));
    HWND bar = GetDlgItem(dlg.m_hWnd, IDC_PROGRESS_BAR);
    const struct {
        int position;
        const char* text;
    } rows[] = {
        {0, "0%"}, {40, "40%"}, {99, "99%"}, {100, "100%"}, {110, "10%"}, {120, "20%"},
        {200, "0%"}, {199, "99%"}, {300, "0%"}, {1000000000, "0%"}, {2147483647, "47%"}, {7, "7%"},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(dlg.SetProgress(row.position));
        EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_PERCENT_TEXT), row.text) << row.position;
    }
    dlg.SetProgress(40);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 40);
}

TEST_F(ProgressDlgTest, SamePercentageIsWrittenOnce)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&owner));
    HWND text = GetDlgItem(dlg.m_hWnd, IDC_PERCENT_TEXT);
    g_staticProc = (WNDPROC)SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)CountingProc);
    g_setTextCount = 0;
    dlg.SetProgress(40);
    dlg.SetProgress(40);
    EXPECT_EQ(g_setTextCount, 1);
    dlg.SetProgress(41);
    EXPECT_EQ(g_setTextCount, 2);
    dlg.SetProgress(141);  // also "41%"
    EXPECT_EQ(g_setTextCount, 2);
    dlg.SetProgress(100);
    dlg.SetProgress(100);
    EXPECT_EQ(g_setTextCount, 3);
    SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)g_staticProc);
}

TEST_F(ProgressDlgTest, CancelButtonEscAndCloseBoxOnlyRaiseTheFlag)
{
    const char* ways[] = {"button", "escape", "close box"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create(&owner));
        HWND h = dlg.m_hWnd;
        HWND cancel = GetDlgItem(h, IDCANCEL);
        EXPECT_FALSE(dlg.SetProgress(10));
        std::string w = way;
        if (w == "button")
            PostMessageA(cancel, BM_CLICK, 0, 0);
        else if (w == "escape")
            PostMessageA(GetFocus() ? GetFocus() : cancel, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(dlg.SetProgress(20));
        EXPECT_TRUE(dlg.m_bCancelled);
        EXPECT_TRUE(IsWindow(h));
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(ItemText(h, IDC_PERCENT_TEXT), "20%");
        EXPECT_TRUE(dlg.SetProgress(30));
        dlg.DestroyWindow();
        EXPECT_TRUE(IsWindowEnabled(owner));

        // The next check starts uncancelled.
        ASSERT_TRUE(dlg.Create(&owner));
        EXPECT_FALSE(dlg.SetProgress(0));
        dlg.DestroyWindow();
    }
}

TEST_F(ProgressDlgTest, OkCommandDoesNothing)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&owner));
    PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(dlg.SetProgress(50));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
}

TEST_F(ProgressDlgTest, OwnerDisabledBeforeStaysDisabled)
{
    EnableWindow(owner, FALSE);
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&owner));
    EXPECT_FALSE(dlg.m_bOwnerDisabled);
    dlg.DestroyWindow();
    EXPECT_FALSE(IsWindowEnabled(owner));
    {
        CProgressDlg other;
        ASSERT_TRUE(other.Create(&owner));
    }
    EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, DestroyingTheObjectDestroysTheWindowAndEnablesTheOwner)
{
    HWND h;
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create(&owner));
        h = dlg.m_hWnd;
        EXPECT_FALSE(IsWindowEnabled(owner));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, WindowDestroyedFromOutsideGivesTheOwnerBackLater)
{
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create(&owner));
        ::DestroyWindow(dlg.m_hWnd);
        EXPECT_EQ(dlg.m_hWnd, nullptr);
        EXPECT_FALSE(dlg.SetProgress(10));
        dlg.SetStatusText("after");
        // A new check disables the owner again, and gives it back at its end.
        ASSERT_TRUE(dlg.Create(&owner));
        EXPECT_TRUE(dlg.m_bOwnerDisabled);
        ::DestroyWindow(dlg.m_hWnd);
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, SecondCreateReplacesTheWindow)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&owner));
    HWND first = dlg.m_hWnd;
    dlg.SetProgress(40);
    ASSERT_TRUE(dlg.Create(&owner));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_NE(dlg.m_hWnd, first);
    EXPECT_EQ(dlg.m_progressBar.m_hWnd, GetDlgItem(dlg.m_hWnd, IDC_PROGRESS_BAR));
    EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_PERCENT_TEXT), " 0 %");
    EXPECT_FALSE(IsWindowEnabled(owner));
    dlg.DestroyWindow();
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ProgressDlgTest, ChildParentDisablesItsTopLevelWindow)
{
    TestWindow child(owner.m_hWnd);
    ASSERT_NE(child.m_hWnd, nullptr);
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(&child));
    ASSERT_NE(dlg.m_pParentWnd, nullptr);
    EXPECT_EQ(dlg.m_pParentWnd->m_hWnd, owner.m_hWnd);
    EXPECT_FALSE(IsWindowEnabled(owner));
    dlg.DestroyWindow();
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(ProgressDlg, CaptionComesFromTheStringTable)
{
    CProgressDlg byDefault(0);
    ASSERT_TRUE(byDefault.Create(nullptr));
    EXPECT_EQ(Caption(byDefault.m_hWnd), "Vantorix");
    CProgressDlg other(IDS_ABOUTBOX);
    EXPECT_EQ(other.m_nCaptionID, (UINT)IDS_ABOUTBOX);
    ASSERT_TRUE(other.Create(nullptr));
    EXPECT_EQ(Caption(other.m_hWnd), "&About vantorix...");
}

TEST(ProgressDlg, SetProgressServesTheThreadsMessages)
{
    TestWindow target;
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    g_countedMessages = 0;
    PostMessageA(target, kCountedMessage, 0, 0);
    PostMessageA(target, kCountedMessage, 0, 0);
    dlg.SetProgress(5);
    EXPECT_EQ(g_countedMessages, 2);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, kCountedMessage, kCountedMessage, PM_NOREMOVE));

    // A quit request is left for the thread's own loop.
    PostQuitMessage(6);
    PostMessageA(target, kCountedMessage, 0, 0);
    EXPECT_FALSE(dlg.SetProgress(6));
    EXPECT_EQ(g_countedMessages, 3);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 6u);
}

TEST(ProgressDlg, HarmlessWithoutAWindow)
{
    TestWindow target;
    CProgressDlg dlg;
    dlg.SetStatusText("Checking for update of Studio Pack");
    g_countedMessages = 0;
    PostMessageA(target, kCountedMessage, 0, 0);
    EXPECT_FALSE(dlg.SetProgress(50));
    EXPECT_EQ(g_countedMessages, 1);
    dlg.m_bCancelled = TRUE;
    EXPECT_TRUE(dlg.SetProgress(60));
    EXPECT_FALSE(dlg.DestroyWindow());
}

namespace {

HHOOK g_hook = nullptr;

// Refuses the creation of every dialog window of the thread.
LRESULT CALLBACK RefuseDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        CBT_CREATEWNDA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        if (create->lpcs->lpszClass == MAKEINTATOM(32770))
            return 1;
        char name[64] = {};
        GetClassNameA((HWND)wParam, name, sizeof(name));
        if (std::string(name) == "#32770")
            return 1;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

TEST_F(ProgressDlgTest, CreateFailureGivesTheOwnerBack)
{
    g_hook = SetWindowsHookExA(WH_CBT, RefuseDialogs, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    CProgressDlg dlg;
    dlg.m_bCancelled = TRUE;
    BOOL created = dlg.Create(&owner);
    UnhookWindowsHookEx(g_hook);
    EXPECT_FALSE(created);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(dlg.m_bOwnerDisabled);
    dlg.SetStatusText("Checking for update of Studio Pack");
    EXPECT_TRUE(dlg.SetProgress(10));  // the flag is only cleared by a window that exists
    EXPECT_FALSE(dlg.DestroyWindow());
    EXPECT_TRUE(IsWindowEnabled(owner));
}
