// ListInteractionTest.cpp: the product list under real mouse and key input:
// expansion into component rows, "Buy now", and newer versions as links.
#include "tests/ui/UiDriver.h"

#include "res/resource.h"
#include "tests/component/ComponentSeed.h"
#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {

const char kCoreClass[] = "{6A1F0B3E-2C4D-4E5F-8A9B-0C1D2E3F4A5B}";
const char kPluginClass[] = "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";

// Alpha: two components (the second without name and version); Beta: an empty list;
// Gamma: no component list at all; Delta: one component.
void SeedComponents(ScopedPackages& packages)
{
    packages.Add("Alpha", "1.0");
    AddComponent("Alpha", "01", "Core", kCoreClass, "1.0.7");
    AddComponent("Alpha", "02", "", kPluginClass, "");
    packages.Add("Beta", "2.0");
    AddComponentList("Beta");
    packages.Add("Gamma", "3.0");
    packages.Add("Delta", "4.0");
    AddComponent("Delta", "01", "Engine", kCoreClass, "4.0.1");
}

int RowOf(const CListCtrl& list, const char* name)
{
    std::vector<std::string> names = RowNames(list);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return (int)i;
    return -1;
}


}  // namespace

TEST(ListInteraction, PlusAndMinusExpandAndCollapseComponentRows)
{
    ScopedPackages packages;
    SeedComponents(packages);
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Gamma"}));

    ClickRow(dlg, RowOf(dlg.m_list, "Alpha"), RowSpot::StateIcon);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].stateImage, 2);
    EXPECT_EQ(rows[1].name, "Core");
    EXPECT_EQ(rows[1].version, "1.0.7");
    EXPECT_EQ(rows[1].update, "");
    EXPECT_EQ(rows[1].stateImage, 0);
    EXPECT_EQ(rows[1].image, 1);
    EXPECT_EQ(rows[2].name, kPluginClass);
    EXPECT_EQ(rows[2].version, "Unknown");
    EXPECT_EQ(rows[2].stateImage, 0);
    EXPECT_EQ(rows[3].name, "Beta");

    ClickRow(dlg, RowOf(dlg.m_list, "Delta"), RowSpot::StateIcon);
    EXPECT_EQ(RowNames(dlg.m_list),
              std::vector<std::string>({"Alpha", "Core", kPluginClass, "Beta", "Delta", "Engine", "Gamma"}));

    // The minus removes exactly Alpha's rows; Delta stays expanded.
    ClickRow(dlg, 0, RowSpot::StateIcon);
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Engine", "Gamma"}));
    rows = ReadRows(dlg.m_list);
    EXPECT_EQ(rows[0].stateImage, 1);
    EXPECT_EQ(rows[2].stateImage, 2);

    // An empty list and no list at all: the minus shows, no rows; the next click the plus.
    for (const char* name : {"Beta", "Gamma"}) {
        int row = RowOf(dlg.m_list, name);
        size_t before = dlg.m_list.GetItemCount();
        ClickRow(dlg, row, RowSpot::StateIcon);
        EXPECT_EQ((size_t)dlg.m_list.GetItemCount(), before) << name;
        EXPECT_EQ(ReadRows(dlg.m_list)[row].stateImage, 2) << name;
        ClickRow(dlg, row, RowSpot::StateIcon);
        EXPECT_EQ((size_t)dlg.m_list.GetItemCount(), before) << name;
        EXPECT_EQ(ReadRows(dlg.m_list)[row].stateImage, 1) << name;
    }

    // A click on the name does not expand.
    ClickRow(dlg, 0, RowSpot::Label);
    EXPECT_EQ(ReadRows(dlg.m_list)[0].stateImage, 1);
    EXPECT_EQ(dlg.m_list.GetItemCount(), 5);

    // Refresh: only collapsed package rows remain.
    ClickRow(dlg, 0, RowSpot::StateIcon);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_REFRESH));
    rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 4u);
    for (const ListRow& row : rows)
        EXPECT_EQ(row.stateImage, 1) << row.name;
    EXPECT_TRUE(closer.seen.empty());
}

TEST(ListInteraction, AComponentCountTooLargeToHoldGivesNoRows)
{
    ScopedPackages packages;
    packages.Add("Huge", "1.0");
    AddComponent("Huge", "01", "Only", kCoreClass, "1.0");
    SetComponentCount("Huge", 0x7FFFFFFF);
    packages.Add("Next", "1.0");
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ClickRow(dlg, 0, RowSpot::StateIcon);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].stateImage, 2);
    EXPECT_EQ(rows[1].name, "Next");
    EXPECT_TRUE(closer.seen.empty());
}

TEST(ListInteraction, MissingComponentAtExpansionWarnsAndAddsNothing)
{
    ScopedPackages packages;
    SeedComponents(packages);
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);

    CWindowCloser closer;
    ScopedUnregisteredComponent unregistered;
    ASSERT_FALSE(unregistered.Server().empty());
    ClickRow(dlg, 0, RowSpot::StateIcon);
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen[0].caption, "Vantorix");
    EXPECT_EQ(closer.seen[0].text, "Some components not installed or work incorrectly.");
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].stateImage, 2);

    // The second click collapses with nothing to remove and no message.
    ClickRow(dlg, 0, RowSpot::StateIcon);
    EXPECT_EQ(closer.seen.size(), 1u);
    rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].stateImage, 1);
}

TEST(ListInteraction, BuyNowFollowsLeftAndRightClicks)
{
    ScopedPackages packages;
    SeedComponents(packages);
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ClickRow(dlg, 0, RowSpot::StateIcon);  // Alpha expanded: rows 1 and 2 are components
    ASSERT_EQ(dlg.m_list.GetItemCount(), 6);

    for (bool right : {false, true}) {
        SCOPED_TRACE(right ? "right button" : "left button");
        ClickRow(dlg, 3, RowSpot::Label, right);  // Beta
        EXPECT_EQ(dlg.m_list.GetSelectionMark(), 3);
        EXPECT_TRUE(BuyNowEnabled(dlg));
        ClickRow(dlg, 1, RowSpot::Label, right);  // a component row
        EXPECT_FALSE(BuyNowEnabled(dlg));
        ClickRow(dlg, 0, RowSpot::Label, right);
        EXPECT_TRUE(BuyNowEnabled(dlg));
        ClickRow(dlg, 0, RowSpot::Below, right);  // below the last row
        EXPECT_FALSE(BuyNowEnabled(dlg));
    }

    // After a refresh no row is at the selection mark.
    ClickRow(dlg, 0, RowSpot::Label);
    EXPECT_TRUE(BuyNowEnabled(dlg));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_REFRESH));
    EXPECT_FALSE(BuyNowEnabled(dlg));
}

TEST(ListInteraction, PackageRowOffTheSelectionMarkLeavesBuyNowAsItWas)
{
    ScopedPackages packages;
    SeedComponents(packages);
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ClickRow(dlg, 0, RowSpot::StateIcon);  // Alpha expanded: rows 1 and 2 are components
    ASSERT_EQ(dlg.m_list.GetItemCount(), 6);

    // A Shift+click selects a range and leaves the mark on the anchor row.
    ClickRow(dlg, 0, RowSpot::Label);
    ASSERT_TRUE(BuyNowEnabled(dlg));
    ClickRow(dlg, 3, RowSpot::Label, false, MK_SHIFT);
    ASSERT_EQ(dlg.m_list.GetSelectionMark(), 0);
    EXPECT_TRUE(BuyNowEnabled(dlg));

    ClickRow(dlg, 1, RowSpot::Label);  // a component row
    ASSERT_FALSE(BuyNowEnabled(dlg));
    ClickRow(dlg, 3, RowSpot::Label, false, MK_SHIFT);
    ASSERT_EQ(dlg.m_list.GetSelectionMark(), 1);
    EXPECT_FALSE(BuyNowEnabled(dlg));
}

TEST(ListInteraction, KeysExpandCollapseAndBuyNowFollowsTheSelection)
{
    ScopedPackages packages;
    SeedComponents(packages);
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    HWND list = dlg.m_list.m_hWnd;
    SetForegroundWindow(dlg.m_hWnd);
    SetFocus(list);

    ClickRow(dlg, 0, RowSpot::Label);  // Alpha selected, collapsed
    PressKey(dlg, list, VK_RIGHT);
    EXPECT_EQ(RowNames(dlg.m_list),
              std::vector<std::string>({"Alpha", "Core", kPluginClass, "Beta", "Delta", "Gamma"}));
    EXPECT_EQ(ReadRows(dlg.m_list)[0].stateImage, 2);
    PressKey(dlg, list, VK_RIGHT);  // already expanded: nothing more
    EXPECT_EQ(dlg.m_list.GetItemCount(), 6);

    PressKey(dlg, list, VK_DOWN);  // onto the first component row
    EXPECT_EQ(dlg.m_list.GetSelectionMark(), 1);
    EXPECT_FALSE(BuyNowEnabled(dlg));
    PressKey(dlg, list, VK_LEFT);  // a component row: nothing collapses
    EXPECT_EQ(dlg.m_list.GetItemCount(), 6);
    PressKey(dlg, list, VK_UP);
    EXPECT_EQ(dlg.m_list.GetSelectionMark(), 0);
    EXPECT_TRUE(BuyNowEnabled(dlg));

    PressKey(dlg, list, VK_LEFT);
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Gamma"}));
    EXPECT_EQ(ReadRows(dlg.m_list)[0].stateImage, 1);

    PressKey(dlg, list, VK_DOWN);
    PressKey(dlg, list, VK_DOWN);  // Delta
    EXPECT_EQ(dlg.m_list.GetSelectionMark(), 2);
    EXPECT_TRUE(BuyNowEnabled(dlg));
    PressKey(dlg, list, VK_SPACE);
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Engine", "Gamma"}));
    PressKey(dlg, list, VK_SPACE);
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Gamma"}));
    EXPECT_TRUE(BuyNowEnabled(dlg));
    EXPECT_TRUE(closer.seen.empty());
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
}

TEST(ListInteraction, HotCursorAndTipOverNewerVersions)
{
    ScopedPackages packages;
    packages.Add("Alpha", "1.0");
    StoreUpdateRecord(packages, "Alpha", "1.1", nullptr);
    packages.Add("Beta", "1.0");
    packages.Add("Gamma", "1.0");
    StoreUpdateRecord(packages, "Gamma", "1.1", nullptr);
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(ReadRows(dlg.m_list)[0].image, 0);
    HWND list = dlg.m_list.m_hWnd;
    const HCURSOR classCursor = (HCURSOR)GetClassLongPtrA(list, GCLP_HCURSOR);
    ASSERT_NE(dlg.m_hHotCursor, classCursor);

    // The update text strip of Alpha's row.
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, UpdateTextPoint(dlg.m_list, 0)));
    EXPECT_TRUE(dlg.m_bLinkCursor);
    EXPECT_EQ((HCURSOR)GetClassLongPtrA(list, GCLP_HCURSOR), dlg.m_hHotCursor);

    // Beta's row has no newer version: back to the class cursor.
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, UpdateTextPoint(dlg.m_list, 1)));
    EXPECT_FALSE(dlg.m_bLinkCursor);
    EXPECT_EQ((HCURSOR)GetClassLongPtrA(list, GCLP_HCURSOR), dlg.m_hClassCursor);

    // The update image strip is the check mark itself; the name beside it is no link,
    // nor is the empty box of a row without a newer version.
    for (int row : {0, 1}) {
        RECT icon, label;
        dlg.m_list.GetItemRect(row, &icon, LVIR_ICON);
        dlg.m_list.GetItemRect(row, &label, LVIR_LABEL);
        const int y = (icon.top + icon.bottom) / 2;
        SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, {(icon.left + icon.right) / 2, y}));
        EXPECT_EQ(dlg.m_bLinkCursor, row == 0) << row;
        SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, {label.left + 2, y}));
        EXPECT_FALSE(dlg.m_bLinkCursor) << row;
    }

    // Leaving the list for a button also switches back.
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, UpdateTextPoint(dlg.m_list, 0)));
    ASSERT_TRUE(dlg.m_bLinkCursor);
    RECT button;
    GetWindowRect(dlg.GetDlgItem(IDC_CLOSE), &button);
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    EXPECT_FALSE(dlg.m_bLinkCursor);
    EXPECT_EQ((HCURSOR)GetClassLongPtrA(list, GCLP_HCURSOR), dlg.m_hClassCursor);

    // Resting over a link brings up the tip.
    const POINT rest = LinkScreenPoint(dlg, UpdateTextPoint(dlg.m_list, 0));
    SetCursorPos(rest.x, rest.y);
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, rest);
    bool shown = false;
    for (int i = 0; i < 60 && !shown; ++i) {
        Pump(dlg, 50);
        shown = IsWindowVisible(dlg.m_tooltip.m_hWnd) != FALSE;
    }
    EXPECT_TRUE(shown);
    char tip[80] = {};
    GetWindowTextA(dlg.m_tooltip.m_hWnd, tip, sizeof(tip));
    EXPECT_STREQ(tip, "Update is available.");

    // A destroyed window gives the list class its own cursor back.
    dlg.DestroyWindow();
    HWND other = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ((HCURSOR)GetClassLongPtrA(other, GCLP_HCURSOR), classCursor);
    DestroyWindow(other);
}

TEST(ListInteraction, LinkAreaIsExactlyTheDrawnStrips)
{
    ScopedPackages packages;
    packages.Add("Alpha", "1.0");
    StoreUpdateRecord(packages, "Alpha", "2.0", "http://updates.norvane.test/alpha");
    packages.Add("Beta", "1.0");
    StoreUpdateRecord(packages, "Beta", "2.0", "http://updates.norvane.test/beta");
    for (int i = 0; i < 12; ++i) {  // rows without a newer version, enough to scroll
        char name[32];
        snprintf(name, sizeof(name), "Filler%02d", i);
        packages.Add(name, "1.0");
    }
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    const CListCtrl& list = dlg.m_list;
    ASSERT_EQ(ReadRows(list)[1].update, "2.0");
    ASSERT_EQ(ReadRows(list)[2].update, "");
    auto reacts = [&dlg](POINT listPoint) {
        SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, listPoint));
        return dlg.m_bLinkCursor;
    };
    RECT header;
    GetWindowRect(list.GetHeaderCtrl(), &header);
    MapWindowPoints(nullptr, list.m_hWnd, reinterpret_cast<POINT*>(&header), 2);

    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        RECT icon, bounds;
        list.GetItemRect(row, &icon, LVIR_ICON);
        list.GetItemRect(row, &bounds, LVIR_BOUNDS);
        const int textX = UpdateTextPoint(list, row).x;
        // The corners of the text strip and of the image strip (the check mark's icon).
        EXPECT_TRUE(reacts({textX, bounds.top}));
        EXPECT_TRUE(reacts({textX, bounds.bottom - 1}));
        EXPECT_TRUE(reacts({icon.left, icon.top}));
        EXPECT_TRUE(reacts({icon.right - 1, icon.bottom - 1}));
        // Just past them: the header above Alpha, the row without a link below Beta, the
        // plus left of the check mark and the name right of it.
        const int past = row == 0 ? bounds.top - 1 : bounds.bottom;
        EXPECT_FALSE(reacts({textX, past}));
        EXPECT_FALSE(reacts({icon.left, past}));
        EXPECT_FALSE(reacts({icon.left - 1, icon.top}));
        EXPECT_FALSE(reacts({icon.right, icon.top}));
        EXPECT_EQ(PtInRect(&header, {textX, past}) != FALSE, row == 0);

        // The text strip's left edge is at 85/100 of the row's width as the list reports
        // it, truncated: the installed version and the pixel left of the edge are no link.
        RECT whole = {LVIR_BOUNDS, 0, 0, 0}, installed = {LVIR_BOUNDS, 1, 0, 0};
        ASSERT_TRUE(SendMessageA(list.m_hWnd, LVM_GETITEMRECT, row, (LPARAM)&whole));
        ASSERT_TRUE(SendMessageA(list.m_hWnd, LVM_GETSUBITEMRECT, row, (LPARAM)&installed));
        const int edge = (whole.right - whole.left) * 85 / 100, y = (whole.top + whole.bottom) / 2;
        EXPECT_FALSE(reacts({(installed.left + installed.right) / 2, y}));
        EXPECT_FALSE(reacts({installed.right - 1, y}));
        EXPECT_FALSE(reacts({edge - 1, y}));
        EXPECT_TRUE(reacts({edge, y}));
    }

    // The lower edge of Alpha's newer version opens Alpha's page; the header above it
    // opens nothing.
    RECT alpha;
    list.GetItemRect(0, &alpha, LVIR_BOUNDS);
    const int textX = UpdateTextPoint(list, 0).x;
    {
        CRecorderLog log;
        SendMouseThroughDialog(dlg, WM_LBUTTONDOWN, LinkScreenPoint(dlg, {textX, alpha.bottom - 1}));
        std::string opened = log.WaitForText(10000);
        EXPECT_NE(opened.find("updates.norvane.test/alpha"), std::string::npos) << opened;
    }
    {
        CRecorderLog log;
        SendMouseThroughDialog(dlg, WM_LBUTTONDOWN, LinkScreenPoint(dlg, {textX, alpha.top - 1}));
        EXPECT_EQ(log.WaitForText(1500), "");
    }

    // Scrolled by one row, Alpha lies behind the header: the header does not react.
    list.SendMessage(LVM_SCROLL, 0, alpha.bottom - alpha.top);
    Pump(dlg, 20);
    ASSERT_EQ(list.GetTopIndex(), 1);
    RECT beta;
    list.GetItemRect(1, &beta, LVIR_BOUNDS);
    EXPECT_TRUE(reacts({textX, beta.top}));
    ASSERT_TRUE(PtInRect(&header, {textX, beta.top - 1}));
    EXPECT_FALSE(reacts({textX, beta.top - 1}));
}

TEST(ListInteraction, RestrictedLinkSearchFindsWhatTheFullWalkFinds)
{
    ScopedPackages packages;
    for (int i = 0; i < 20; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "Package%02d", i);
        packages.Add(name, "1.0");
        if (i % 3 == 0)
            StoreUpdateRecord(packages, name, "1.5", nullptr);
    }
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(dlg.m_list.GetItemCount(), 20);
    RECT client;
    dlg.m_list.GetClientRect(&client);
    RECT icon, bounds;
    dlg.m_list.GetItemRect(0, &icon, LVIR_ICON);
    dlg.m_list.GetItemRect(0, &bounds, LVIR_BOUNDS);
    const int textLeft = (bounds.right - bounds.left) * 85 / 100;
    // Across the edges of both strips, and between them.
    const int xs[] = {icon.left - 1, icon.left, (icon.left + icon.right) / 2, icon.right - 1, icon.right,
                      (icon.right + textLeft) / 2, textLeft - 1, textLeft, bounds.right - 1, bounds.right};
    int hits = 0;
    for (int scroll : {0, 19}) {
        dlg.m_list.SendMessage(LVM_ENSUREVISIBLE, scroll, FALSE);
        for (int y = client.top - 30; y < client.bottom + 30; ++y) {
            for (int x : xs) {
                POINT pt = {x, y};
                int full = dlg.FindLinkRowBetween(pt, 0, dlg.m_list.GetItemCount() - 1);
                ASSERT_EQ(dlg.FindLinkRow(pt), full) << x << "," << y << " scrolled to " << scroll;
                hits += full >= 0;
            }
        }
    }
    EXPECT_GT(hits, 100);
}

TEST(ListInteraction, ClickOnANewerVersionOpensItsPage)
{
    ScopedPackages packages;
    packages.Add("Alpha", "1.0");
    StoreUpdateRecord(packages, "Alpha", "2.0", "http://updates.norvane.test/alpha-2.0");
    packages.Add("Beta", "1.0");
    StoreUpdateRecord(packages, "Beta", "2.0", nullptr);
    packages.Add("Gamma", "1.0");
    StoreUpdateRecord(packages, "Gamma", "2.0", "C:\\windows\\system32\\notepad.exe");
    packages.Add("Delta", "1.0");
    StoreUpdateRecord(packages, "Delta", "2.0", "HTTPS://updates.norvane.test/delta");
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Alpha", "Beta", "Delta", "Gamma"}));

    struct Case {
        int row;
        const char* expected;
    } cases[] = {
        {0, "http://updates.norvane.test/alpha-2.0"},
        {1, "www.norvane.com/products"},   // nothing stored
        {2, "HTTPS://updates.norvane.test/delta"},
        {3, "www.norvane.com/products"},   // not a web page address
    };
    for (const Case& c : cases) {
        CRecorderLog log;
        SendMouseThroughDialog(dlg, WM_LBUTTONDOWN, LinkScreenPoint(dlg, UpdateTextPoint(dlg.m_list, c.row)));
        std::string opened = log.WaitForText(10000);
        EXPECT_NE(opened.find(c.expected), std::string::npos) << "row " << c.row << ": " << opened;
        EXPECT_EQ(opened.find("notepad"), std::string::npos);
    }

    // The check mark opens the page too; the name's first letters beside it open nothing.
    RECT icon, label;
    dlg.m_list.GetItemRect(0, &icon, LVIR_ICON);
    dlg.m_list.GetItemRect(0, &label, LVIR_LABEL);
    const int y = (icon.top + icon.bottom) / 2;
    {
        CRecorderLog log;
        SendMouseThroughDialog(dlg, WM_LBUTTONDOWN, LinkScreenPoint(dlg, {(icon.left + icon.right) / 2, y}));
        EXPECT_NE(log.WaitForText(10000).find(cases[0].expected), std::string::npos);
    }
    CRecorderLog log;
    SendMouseThroughDialog(dlg, WM_LBUTTONDOWN, LinkScreenPoint(dlg, {label.left + 2, y}));
    EXPECT_EQ(log.WaitForText(1500), "");
}
