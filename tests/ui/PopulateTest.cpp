// PopulateTest.cpp: filling the product list from the real registry and the
// reference package information component.
#include "tests/ui/UiDriver.h"

#include "tests/component/ComponentSeed.h"
#include "tests/support/TestRegistry.h"

#include <gtest/gtest.h>

TEST(Populate, ListsVisiblePackagesInRegistryOrder)
{
    ScopedPackages packages;
    packages.Add("A-Editor", "2.0.33");
    packages.Add("B-Hidden", "1.0");
    packages.SetString("B-Hidden", "Hide", "1");
    packages.Add("C-Viewer");  // no Version value
    packages.Add("D-HiddenBinary", "4.4");
    const BYTE one = 1;
    packages.SetRaw("D-HiddenBinary", "Hide", REG_BINARY, &one, 1);
    packages.Add("E-Tools", "7.1");
    packages.SetString("E-Tools", "Hide", "0");

    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "A-Editor");
    EXPECT_EQ(rows[0].version, "2.0.33");
    EXPECT_EQ(rows[1].name, "C-Viewer");
    EXPECT_EQ(rows[1].version, "");
    EXPECT_EQ(rows[2].name, "E-Tools");
    EXPECT_EQ(rows[2].version, "7.1");
    for (const ListRow& row : rows) {
        EXPECT_EQ(row.stateImage, 1) << row.name;
        EXPECT_EQ(row.image, 1) << row.name;
        EXPECT_EQ(row.update, "") << row.name;
    }
    EXPECT_TRUE(closer.seen.empty());
}

TEST(Populate, ShowsStoredNewerVersionsAndDropsStaleOnes)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0.5");
    StoreUpdateRecord(packages, "Editor", "1.2", "http://updates.norvane.test/editor");
    packages.Add("Viewer", "2.0");
    StoreUpdateRecord(packages, "Viewer", "2.0", "http://updates.norvane.test/viewer");
    packages.Add("Tools", "3.0");
    StoreUpdateRecord(packages, "Tools", "2.9", nullptr);

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    std::vector<ListRow> rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Editor");
    EXPECT_EQ(rows[0].update, "1.2");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(rows[1].name, "Tools");
    EXPECT_EQ(rows[1].update, "");
    EXPECT_EQ(rows[1].image, 1);
    EXPECT_EQ(rows[2].name, "Viewer");
    EXPECT_EQ(rows[2].update, "");
    EXPECT_EQ(rows[2].image, 1);

    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Editor").c_str(), "UpdateVersion"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Viewer").c_str(), "UpdateVersion"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Viewer").c_str(), "ProductUpdateUrl"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Tools").c_str(), "UpdateVersion"));

    // Once the update is installed, the next pass drops the record and the mark.
    packages.SetString("Editor", "Version", "1.2");
    dlg.Populate(false);
    rows = ReadRows(dlg.m_list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].update, "");
    EXPECT_EQ(rows[0].image, 1);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Editor").c_str(), "UpdateVersion"));
}

TEST(Populate, WithoutThePackagesKeyTheListIsEmptyAndSilent)
{
    ScopedPackages packages(false);
    CWindowCloser closer;
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    EXPECT_EQ(dlg.m_list.GetItemCount(), 0);
    dlg.Populate(false);
    EXPECT_EQ(dlg.m_list.GetItemCount(), 0);
    EXPECT_TRUE(closer.seen.empty());
}

TEST(Populate, MissingComponentWarnsOnceBeforeAnyRowAndStillFills)
{
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    packages.Add("Viewer", "2.0");
    CWindowCloser closer;
    ScopedUnregisteredComponent unregistered;
    ASSERT_FALSE(unregistered.Server().empty()) << "the reference component is not registered in the prefix";

    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen[0].caption, "Vantorix");
    EXPECT_EQ(closer.seen[0].text, "Some components not installed or work incorrectly.");
    EXPECT_EQ(closer.seen[0].ownerListRows, 0);
    EXPECT_EQ(RowNames(dlg.m_list), std::vector<std::string>({"Editor", "Viewer"}));

    // Every pass warns again.
    dlg.Populate(false);
    EXPECT_EQ(closer.seen.size(), 2u);
    EXPECT_EQ(dlg.m_list.GetItemCount(), 2);
}
