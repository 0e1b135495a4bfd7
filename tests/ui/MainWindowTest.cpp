// MainWindowTest.cpp: the main dialog's set-up, system menu, instance message,
// commands and closing, on the real window.
#include "tests/ui/UiDriver.h"

#include "res/resource.h"
#include "tests/support/TestRegistry.h"
#include "ui/InstanceMessage.h"

#include <gtest/gtest.h>

TEST(MainWindow, SetsUpListImagesTooltipAndButtons)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);

    char caption[64];
    GetWindowTextA(dlg.m_hWnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Vantorix");

    RECT rc;
    dlg.m_list.GetClientRect(&rc);
    const int width = rc.right - rc.left;
    const char* headings[] = {"Application", "Current Version", "Update Version"};
    const int widths[] = {(int)(width * 0.5), (int)(width * 0.15), (int)(width * 0.15)};
    for (int col = 0; col < 3; ++col) {
        char text[64] = {};
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.pszText = text;
        c.cchTextMax = sizeof(text);
        ASSERT_TRUE(dlg.m_list.SendMessage(LVM_GETCOLUMNA, col, (LPARAM)&c));
        EXPECT_STREQ(text, headings[col]);
        EXPECT_EQ(c.cx, widths[col]);
        EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }

    EXPECT_EQ((HIMAGELIST)dlg.m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_STATE), (HIMAGELIST)dlg.m_stateImages);
    EXPECT_EQ((HIMAGELIST)dlg.m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL), (HIMAGELIST)dlg.m_smallImages);
    EXPECT_EQ(dlg.m_stateImages.GetImageCount(), 2);
    EXPECT_EQ(dlg.m_smallImages.GetImageCount(), 2);
    EXPECT_EQ(dlg.m_list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), 0x422);

    EXPECT_NE(dlg.m_hIcon, nullptr);
    EXPECT_EQ((HICON)dlg.SendMessage(WM_GETICON, ICON_BIG), dlg.m_hIcon);
    EXPECT_EQ((HICON)dlg.SendMessage(WM_QUERYDRAGICON), dlg.m_hIcon);
    EXPECT_NE(dlg.m_hAccel, nullptr);
    EXPECT_NE(dlg.m_hHotCursor, nullptr);
    EXPECT_EQ(dlg.m_hClassCursor, (HCURSOR)GetClassLongPtrA(dlg.m_hWnd, GCLP_HCURSOR));
    EXPECT_FALSE(dlg.m_bLinkCursor);

    ASSERT_NE(dlg.m_tooltip.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(dlg.m_tooltip.m_hWnd));
    EXPECT_TRUE(GetWindowLongA(dlg.m_tooltip.m_hWnd, GWL_STYLE) & TTS_ALWAYSTIP);
    char tip[80] = {};
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = dlg.m_list.m_hWnd;
    ti.uId = IDC_TOOLTIP_TOOL;
    ti.lpszText = tip;
    dlg.m_tooltip.SendMessage(TTM_GETTEXTA, sizeof(tip), (LPARAM)&ti);
    EXPECT_STREQ(tip, "Update is available.");

    EXPECT_FALSE(BuyNowEnabled(dlg));
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Editor"}));
    EXPECT_TRUE(closer.seen.empty());
}

TEST(MainWindow, SystemMenuEndsWithTheAboutEntry)
{
    ScopedPackages packages;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    HMENU menu = GetSystemMenu(dlg.m_hWnd, FALSE);
    ASSERT_NE(menu, nullptr);
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), (UINT)IDM_ABOUTBOX);
    char text[64] = {};
    GetMenuStringA(menu, count - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&About vantorix...");
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu, count - 2, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST(MainWindow, AboutEntryOpensTheAboutBoxAndOtherCommandsActAsUsual)
{
    ScopedPackages packages;
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);

    // The About box runs modally inside this call; the closer ends it.
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen[0].caption, "About Vantorix");

    // Low bits of the command are ignored by the About test.
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
    EXPECT_EQ(closer.seen.size(), 2u);

    dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(dlg);
    EXPECT_TRUE(IsIconic(dlg.m_hWnd));
    // Painting while minimised draws the icon; the window stays intact.
    RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump(dlg);
    EXPECT_FALSE(IsIconic(dlg.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dlg.m_list.m_hWnd));
    EXPECT_EQ(closer.seen.size(), 2u);
}

TEST(MainWindow, AnswersTheInstanceMessageWithItsId)
{
    ScopedPackages packages;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_NE(g_nInstanceMessage, 0u);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(dlg.m_hWnd, g_nInstanceMessage, 0, 0, SMTO_BLOCK, 2000, &answer));
    EXPECT_EQ(answer, (DWORD_PTR)g_nInstanceMessage);
}

namespace {

// Scripted input for a modal run: once the dialog shows, the focus goes to the list
// (or stays), and one key or command is posted.
struct ModalScript {
    UINT key;          // a virtual key posted to the focus, or 0
    UINT command;      // a button id clicked, or 0
    bool focusList;
    int ticks;
};
ModalScript g_script;

BOOL CALLBACK FindMainDialog(HWND h, LPARAM p)
{
    if (GetDlgItem(h, IDC_PRODUCT_LIST) && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dlg = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMainDialog, (LPARAM)&dlg);
    if (!dlg || ++g_script.ticks < 2)
        return;
    KillTimer(nullptr, id);
    HWND list = GetDlgItem(dlg, IDC_PRODUCT_LIST);
    if (g_script.focusList) {
        SetForegroundWindow(dlg);
        SetFocus(list);
    }
    if (g_script.key) {
        HWND target = GetFocus() ? GetFocus() : list;
        PostMessageA(target, WM_KEYDOWN, g_script.key, 1);
        PostMessageA(target, WM_KEYUP, g_script.key, 0xC0000001);
    }
    if (g_script.command)
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(g_script.command, BN_CLICKED),
                     (LPARAM)GetDlgItem(dlg, g_script.command));
}

INT_PTR RunModal(const ModalScript& script)
{
    g_script = script;
    UINT_PTR timer = SetTimer(nullptr, 0, 40, RunScript);
    CPackagesDlg dlg;
    INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    return result;
}

}  // namespace

TEST(MainWindow, EscEnterAndCloseEndTheModalDialog)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    EXPECT_EQ(RunModal({VK_ESCAPE, 0, true, 0}), IDCANCEL);
    EXPECT_EQ(RunModal({VK_RETURN, 0, true, 0}), IDOK);
    EXPECT_EQ(RunModal({0, IDC_CLOSE, false, 0}), 0);
}

TEST(MainWindow, F5RefreshesExactlyAsRefresh)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Editor"}));

    // The registry changes behind the window: a new package and a stored newer version.
    packages.Add("Viewer", "3.1");
    packages.SetString("Editor", "UpdateVersion", "1.2");
    SetForegroundWindow(dlg.m_hWnd);
    SetFocus(dlg.m_list.m_hWnd);
    PressKey(dlg, dlg.m_list.m_hWnd, VK_F5);
    std::vector<ListRow> afterF5 = ReadRows(dlg.m_list);
    ASSERT_EQ(afterF5.size(), 2u);
    EXPECT_EQ(afterF5[0].name, "Editor");
    EXPECT_EQ(afterF5[0].update, "1.2");
    EXPECT_EQ(afterF5[0].image, 0);
    EXPECT_EQ(afterF5[1].name, "Viewer");
    EXPECT_EQ(afterF5[1].version, "3.1");

    // The same command as a plain WM_COMMAND (the accelerator's code 1).
    packages.Add("Tools", "0.9");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_REFRESH_F5, 1), 0);
    std::vector<ListRow> afterCommand = ReadRows(dlg.m_list);

    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_REFRESH));
    std::vector<ListRow> afterRefresh = ReadRows(dlg.m_list);
    ASSERT_EQ(afterCommand.size(), 3u);
    ASSERT_EQ(afterRefresh.size(), afterCommand.size());
    for (size_t i = 0; i < afterRefresh.size(); ++i) {
        EXPECT_EQ(afterRefresh[i].name, afterCommand[i].name);
        EXPECT_EQ(afterRefresh[i].version, afterCommand[i].version);
        EXPECT_EQ(afterRefresh[i].update, afterCommand[i].update);
        EXPECT_EQ(afterRefresh[i].image, afterCommand[i].image);
        EXPECT_EQ(afterRefresh[i].stateImage, 1);
    }
}

TEST(MainWindow, ButtonClicksWithoutASelectedRowLeaveBuyNowDisabled)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(dlg.m_list.GetSelectionMark(), -1);
    // Even a button that was enabled by hand is disabled by the next routed command.
    EnableWindow(dlg.GetDlgItem(IDC_BUY_NOW), TRUE);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_REFRESH));
    EXPECT_FALSE(BuyNowEnabled(dlg));
}
