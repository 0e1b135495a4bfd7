// OnlinePopulateTest.cpp: "Check updates" against the local update server, through
// the browser profile's proxy, with the progress window and its Cancel.
#include "tests/ui/UiDriver.h"

#include "res/resource.h"
#include "tests/network/NetworkFixtures.h"
#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {

// Presses Cancel in the progress window once its status line names the package.
const char* g_cancelAt = nullptr;
bool g_cancelled = false;
std::vector<std::string> g_statusLines;

BOOL CALLBACK CancelIfNamed(HWND window, LPARAM)
{
    HWND status = GetDlgItem(window, IDC_STATUS_TEXT);
    if (!status || !GetDlgItem(window, IDC_PROGRESS_BAR) || !IsWindowVisible(window))
        return TRUE;
    char text[300] = {};
    GetWindowTextA(status, text, sizeof(text));
    if (text[0] && (g_statusLines.empty() || g_statusLines.back() != text))
        g_statusLines.push_back(text);
    if (!g_cancelled && g_cancelAt && strcmp(text, g_cancelAt) == 0) {
        g_cancelled = true;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(window, IDCANCEL));
    }
    return FALSE;
}

void CALLBACK WatchProgress(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CancelIfNamed, 0);
}

// Presses "Check updates" and waits for the pass to end.
void CheckUpdates(CDialogUnderTest& dlg)
{
    UINT_PTR timer = SetTimer(nullptr, 0, 5, WatchProgress);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CHECK_UPDATES, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_CHECK_UPDATES));
    KillTimer(nullptr, timer);
}

// The texts of the message boxes that the closer saw, the progress window left out.
std::vector<std::string> Messages(const CWindowCloser& closer)
{
    std::vector<std::string> texts;
    for (const CWindowCloser::Seen& seen : closer.seen)
        if (seen.text.find("Checking for update") == std::string::npos && seen.text.find('%') == std::string::npos)
            texts.push_back(seen.caption + "|" + seen.text + "|" + std::to_string(seen.ownerListRows));
    return texts;
}

std::string Unchecked(int unchecked, int listed, int rows)
{
    return "Vantorix|Could not check " + std::to_string(unchecked) + " of " + std::to_string(listed) +
           " packages for updates. Newer versions found earlier are still shown.|" + std::to_string(rows);
}

class OnlinePopulate : public ::testing::Test {
protected:
    void SetUp() override
    {
        UpdateServer::Reset();
        g_cancelAt = nullptr;
        g_cancelled = false;
        g_statusLines.clear();
    }
    void TearDown() override { UpdateServer::Reset(); }
};

}  // namespace

TEST_F(OnlinePopulate, CheckUpdatesQueriesUntilCancelThenUsesStoredRecords)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    for (const char* name : {"P1", "P2", "P3", "P4", "P5"})
        packages.Add(name, "1.0");
    StoreUpdateRecord(packages, "P2", "1.2", nullptr);
    StoreUpdateRecord(packages, "P4", "1.7", nullptr);
    // P2's answer comes late: the cancel is seen before it.
    UpdateServer::SetBehaviour(
        "{\"mode\": \"normal\", \"packages\": {\"P2\": {\"mode\": \"normal\", \"latency\": 0.5}}}");
    UpdateServer::SetCatalogue({UpdateServer::Entry("P1", "2.0", "http://www.norvane.com/p1"),
                                UpdateServer::Entry("P2", "2.0", "http://www.norvane.com/p2"),
                                UpdateServer::Entry("P3", "3.0", "http://www.norvane.com/p3"),
                                UpdateServer::Entry("P4", "4.0", "http://www.norvane.com/p4"),
                                UpdateServer::Entry("P5", "5.0", "http://www.norvane.com/p5")});

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    UpdateServer::Control("POST", "requests/clear");
    g_cancelAt = "Checking for update of P2";
    CheckUpdates(dlg);

    ASSERT_TRUE(g_cancelled);
    ASSERT_FALSE(g_statusLines.empty());
    EXPECT_EQ(g_statusLines.front(), "Checking for update of P1");
    // P1 was asked; P2 perhaps, depending on the stage that saw Cancel; none after it.
    int requests = UpdateServer::RequestCount();
    EXPECT_GE(requests, 1);
    EXPECT_LE(requests, 2);
    EXPECT_NE(UpdateServer::RequestBytes(0).find("<string>P1</string>"), std::string::npos);
    for (int i = 0; i < requests; ++i) {
        std::string body = UpdateServer::RequestBytes(i);
        for (const char* later : {"P3", "P4", "P5"})
            EXPECT_EQ(body.find(std::string("<string>") + later + "</string>"), std::string::npos) << later;
    }

    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].update, "2.0");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, packages.KeyPath("P1").c_str(), "ProductUpdateUrl"),
              "http://www.norvane.com/p1");
    EXPECT_EQ(rows[1].update, "1.2");  // cancelled while asked: the stored record
    EXPECT_EQ(rows[1].image, 0);
    EXPECT_EQ(rows[2].update, "");
    EXPECT_EQ(rows[3].update, "1.7");  // stored, not asked for
    EXPECT_EQ(rows[3].image, 0);
    EXPECT_EQ(rows[4].update, "");
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("P5").c_str(), "UpdateVersion"));

    // The progress window is gone and the main window takes input again.
    EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
    EXPECT_EQ(dlg.m_progress.m_hWnd, nullptr);
}

TEST_F(OnlinePopulate, CheckUpdatesWithoutCancelAsksForEveryListedPackage)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    packages.Add("Hidden", "1.0");
    packages.SetString("Hidden", "Hide", "1");
    packages.Add("Viewer", "2.0");
    packages.Add("Writer", "3.0");
    StoreUpdateRecord(packages, "Writer", "3.5", nullptr);
    // Viewer and Writer as installed: Writer's newer version stored before still shows.
    UpdateServer::SetCatalogue({UpdateServer::Entry("Editor", "1.1", "http://www.norvane.com/editor"),
                                UpdateServer::Entry("Viewer", "2.0", "http://www.norvane.com/viewer"),
                                UpdateServer::Entry("Writer", "3.0", nullptr)});
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    UpdateServer::Control("POST", "requests/clear");
    CheckUpdates(dlg);

    EXPECT_EQ(UpdateServer::RequestCount(), 3);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Editor");
    EXPECT_EQ(rows[0].update, "1.1");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(rows[1].name, "Viewer");
    EXPECT_EQ(rows[1].update, "");
    EXPECT_EQ(rows[1].image, 1);
    EXPECT_EQ(rows[2].update, "3.5");
    EXPECT_EQ(rows[2].image, 0);
    EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
}

TEST_F(OnlinePopulate, ServerThatNeverAnswersEndsThePassAfterTwoTimeOuts)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    std::vector<std::string> entries;
    for (int i = 1; i <= 8; ++i) {
        std::string name = "P" + std::to_string(i);
        packages.Add(name.c_str(), "1.0");
        entries.push_back(UpdateServer::Entry(name, "9.0", nullptr));
    }
    StoreUpdateRecord(packages, "P4", "1.4", nullptr);
    StoreUpdateRecord(packages, "P8", "1.8", nullptr);
    UpdateServer::SetCatalogue(entries);
    UpdateServer::SetBehaviour("{\"mode\": \"silent\", \"hold\": 60}");

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    UpdateServer::Control("POST", "requests/clear");
    CWindowCloser closer;
    CheckUpdates(dlg);

    // Every package counts: two timed out, the rest were left unasked.
    EXPECT_EQ(Messages(closer), std::vector<std::string>({Unchecked(8, 8, 8)}));
    EXPECT_EQ(UpdateServer::RequestCount(), 2);
    std::vector<std::string> expected = {"Checking for update of P1", "Checking for update of P2"};
    EXPECT_EQ(g_statusLines, expected);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const char* stored = i == 3 ? "1.4" : i == 7 ? "1.8" : "";
        EXPECT_EQ(rows[i].update, stored) << rows[i].name;
        EXPECT_EQ(rows[i].image, stored[0] ? 0 : 1) << rows[i].name;
    }
    EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
}

TEST_F(OnlinePopulate, SilentPackagesApartDoNotEndTheCheckAndAreCounted)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
        packages.Add(name, "1.0");
    StoreUpdateRecord(packages, "Beta", "1.5", nullptr);
    UpdateServer::SetCatalogue({UpdateServer::Entry("Alpha", "2.0", nullptr), UpdateServer::Entry("Beta", "2.0", nullptr),
                                UpdateServer::Entry("Gamma", "3.0", nullptr), UpdateServer::Entry("Delta", "4.0", nullptr)});
    UpdateServer::SetBehaviour("{\"mode\": \"silent\", \"hold\": 60, \"packages\": [\"Beta\", \"Gamma\"]}");

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    UpdateServer::Control("POST", "requests/clear");
    CWindowCloser closer;
    CheckUpdates(dlg);

    // Rows come in the registry's order: Alpha, Beta, Delta, Gamma. Delta's answer comes
    // between the two time-outs, so Gamma is still asked.
    EXPECT_EQ(UpdateServer::RequestCount(), 4);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].update, "2.0");
    EXPECT_EQ(rows[1].name, "Beta");
    EXPECT_EQ(rows[1].update, "1.5");  // stored, still shown
    EXPECT_EQ(rows[1].image, 0);
    EXPECT_EQ(rows[2].update, "4.0");
    EXPECT_EQ(rows[3].update, "");
    EXPECT_EQ(Messages(closer), std::vector<std::string>({Unchecked(2, 4, 4)}));
}

TEST_F(OnlinePopulate, DroppedConnectionsAreNoTimeOutsAndTheNextPackagesAreAsked)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    for (const char* name : {"P1", "P2", "P3", "P4"})
        packages.Add(name, "1.0");
    UpdateServer::SetCatalogue({UpdateServer::Entry("P1", "2.0", nullptr), UpdateServer::Entry("P2", "2.0", nullptr),
                                UpdateServer::Entry("P3", "3.0", nullptr), UpdateServer::Entry("P4", "1.0", nullptr)});
    // The reset comes while the client waits for the answer: the send itself fails.
    UpdateServer::SetBehaviour("{\"mode\": \"drop\", \"latency\": 0.3, \"packages\": [\"P1\", \"P2\"]}");

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    UpdateServer::Control("POST", "requests/clear");
    CWindowCloser closer;
    CheckUpdates(dlg);

    // Two connections closed unanswered in a row fail at once: no time-outs, and the
    // pass goes on to P3 (newer) and P4 (as installed).
    ASSERT_EQ(UpdateServer::RequestCount(), 4);
    EXPECT_NE(UpdateServer::RequestBytes(3).find("<string>P4</string>"), std::string::npos);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].update, "");
    EXPECT_EQ(rows[1].update, "");
    EXPECT_EQ(rows[2].update, "3.0");
    EXPECT_EQ(rows[2].image, 0);
    EXPECT_EQ(rows[3].update, "");
    EXPECT_EQ(Messages(closer), std::vector<std::string>({Unchecked(2, 4, 4)}));
}

TEST_F(OnlinePopulate, UnreadableAnswersCountAndFaultsDoNotUnlessCancelled)
{
    ASSERT_EQ(UpdateServer::Control("GET", "ping"), 200) << "the local update server is not running";
    ScopedPackages packages;
    for (const char* name : {"A1", "B2", "C3", "D4"})
        packages.Add(name, "1.0");
    packages.SetString("D4", "Hide", "1");
    StoreUpdateRecord(packages, "A1", "1.5", nullptr);
    StoreUpdateRecord(packages, "B2", "1.6", nullptr);
    // B2 is unknown to the server: a fault.
    UpdateServer::SetCatalogue({UpdateServer::Entry("A1", "2.0", nullptr), UpdateServer::Entry("C3", "3.0", nullptr)});
    UpdateServer::SetBehaviour(
        "{\"mode\": \"normal\", \"packages\": {\"A1\": {\"mode\": \"raw\", \"body\": \"<html>Bad gateway</html>\"}}}");

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    CWindowCloser closer;
    CheckUpdates(dlg);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].update, "1.5");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(rows[1].update, "1.6");  // a fault: the stored record, not counted
    EXPECT_EQ(rows[1].image, 0);
    EXPECT_EQ(rows[2].update, "3.0");
    EXPECT_EQ(Messages(closer), std::vector<std::string>({Unchecked(1, 3, 3)}));

    // Cancelled after A1's failure: no message.
    closer.seen.clear();
    g_cancelAt = "Checking for update of C3";
    CheckUpdates(dlg);
    ASSERT_TRUE(g_cancelled);
    EXPECT_EQ(Messages(closer), std::vector<std::string>());
    EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
}
