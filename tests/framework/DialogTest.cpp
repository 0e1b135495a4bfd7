// DialogTest.cpp: the framework's dialogs, message maps and command-line parsing.
#include "framework/Dialog.h"
#include "framework/DialogPlacement.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

UINT g_testMessage = 0;

// A dialog on the progress template that records what its map routes.
class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(IDD_PROGRESS) {}
    std::vector<std::string> calls;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_APP + 1)
            ++preTranslated;
        return CDialog::PreTranslateMessage(pMsg);
    }
    int preTranslated = 0;
    bool endOnInit = false;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        calls.push_back("init");
        if (endOnInit)
            EndDialog(7);
        return TRUE;
    }
    void OnCancel() override { calls.push_back("cancel"); EndDialog(IDCANCEL); }
    void OnStatusClicked() { calls.push_back("status"); }
    LRESULT OnProbe(WPARAM w, LPARAM) { calls.push_back("probe"); return (LRESULT)w + 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
    ON_BN_CLICKED(IDC_STATUS_TEXT, OnStatusClicked)
    ON_REGISTERED_MESSAGE(g_testMessage, OnProbe)
END_MESSAGE_MAP()

}  // namespace

TEST(Dialog, ModelessRoutesCommandsAndRegisteredMessages)
{
    g_testMessage = RegisterWindowMessageA("Vantorix framework probe");
    CProbeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_PROGRESS));
    ASSERT_TRUE(IsWindow(dlg.m_hWnd));
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_STATUS_TEXT, BN_CLICKED), 0);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(dlg.m_hWnd, g_testMessage, 41, 0, SMTO_BLOCK, 1000, &answer);
    EXPECT_EQ(answer, 42u);
    ASSERT_EQ(dlg.calls.size(), 3u);
    EXPECT_EQ(dlg.calls[0], "init");
    EXPECT_EQ(dlg.calls[1], "status");
    EXPECT_EQ(dlg.calls[2], "probe");
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// Posts the cancel command to the active window, once.
static void CALLBACK CancelActiveOnce(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND h = GetActiveWindow();
    if (h)
        PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
}

TEST(Dialog, ModalLoopEndsOnEndDialogAndCallsPreTranslate)
{
    CProbeDlg dlg;
    // Posted before the loop starts: seen by PreTranslateMessage, then Esc's command.
    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 1, 0, 0);
    // The cancel command arrives through the queue once the dialog exists.
    dlg.endOnInit = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelActiveOnce);
    ASSERT_NE(timer, 0u);
    INT_PTR result = dlg.DoModal();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_GE(dlg.preTranslated, 1);
    ASSERT_GE(dlg.calls.size(), 2u);
    EXPECT_EQ(dlg.calls.back(), "cancel");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, ModalLoopEndsOnPendingQuitAndLeavesItQueued)
{
    CProbeDlg dlg;
    PostQuitMessage(3);
    INT_PTR result = dlg.DoModal();
    EXPECT_EQ(result, -1);
    ASSERT_EQ(dlg.calls.size(), 1u);  // initialised, then ended
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(Dialog, EndDialogDuringInitSkipsTheLoop)
{
    CProbeDlg dlg;
    dlg.endOnInit = true;
    EXPECT_EQ(dlg.DoModal(), 7);
}

TEST(Dialog, TemplatePositionAndCentring)
{
    // DLGTEMPLATE: style, extended style, item count, x, y. DLGTEMPLATEEX: version 1, 0xFFFF,
    // help id, extended style, style, item count, x, y. Each row sets one byte.
    const int rows[][4] = {{0, 10, 0, 0}, {0, 10, 5, 1}, {0, 13, 0xFF, 1}, {1, 18, 0, 0}, {1, 18, 7, 1},
                           {1, 21, 0x80, 1}, {2, 18, 9, 0}};
    for (const auto& r : rows) {
        unsigned char data[22] = {(unsigned char)(r[0] ? 1 : 0), 0, (unsigned char)(r[0] == 1 ? 0xFF : 0), 0xFF};
        data[r[1]] = (unsigned char)r[2];
        const size_t need = r[0] == 1 ? 22 : 14;  // the data up to y
        EXPECT_EQ(DialogTemplateGivesPosition(data, need), r[3] != 0) << r[0] << " " << r[1];
        EXPECT_FALSE(DialogTemplateGivesPosition(data, need - 1));
    }
    EXPECT_FALSE(DialogTemplateGivesPosition(nullptr, 22));
    // size, centre from and to, area from and to: centred, then kept inside the area.
    const int centring[][6] = {{100, 0, 400, 0, 1000, 150},  {101, 0, 401, 0, 1000, 150},
                               {100, 900, 1100, 0, 1000, 900}, {100, -100, 0, 0, 1000, 0},
                               {1200, 0, 1000, 0, 1000, 0},    {100, 1800, 1900, 1920, 3840, 1920}};
    for (const auto& c : centring)
        EXPECT_EQ(CentredStart(c[0], c[1], c[2], c[3], c[4]), c[5]) << c[0] << " " << c[1];
}

namespace {
struct RecordingInfo : CCommandLineInfo {
    std::vector<std::string> seen;
    void ParseParam(const char* param, BOOL isFlag, BOOL isLast) override
    {
        seen.push_back(std::string(isFlag ? "F:" : "P:") + param + (isLast ? "!" : ""));
    }
};
}  // namespace

TEST(CommandLine, ParseParamGetsFlagsWithoutTheirMark)
{
    RecordingInfo info;
    CWinApp::ParseCommandLine(info, "v.exe -n \"Studio Pack\" /v 2.1 /");
    std::vector<std::string> expected = {"F:n", "P:Studio Pack", "F:v", "P:2.1", "F:!"};
    EXPECT_EQ(info.seen, expected);
}
