// StatusReportTest.cpp: reports written to real files from the real registry through
// the registered component.
#include "report/StatusReport.h"
#include "framework/Handles.h"
#include "tests/component/ComponentSeed.h"
#include "tests/report/DialogCatcher.h"
#include "tests/report/ReportFiles.h"
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Writes the report to a fresh file; every dialog that shows up is recorded and closed.
struct ReportRun {
    bool result = false;
    std::string file;
    std::string body;  // what follows the date line
    bool dateLineOk = false;
    std::vector<SeenDialog> dialogs;
};

ReportRun RunReport(const char* tag)
{
    ReportRun run;
    std::string path = MakeTempDir(tag) + "report.txt";
    {
        CDialogCatcher catcher;
        run.result = WriteStatusReport(path.c_str(), nullptr);
        catcher.Stop();
        run.dialogs = catcher.Seen();
    }
    run.file = ReadWholeFile(path);
    run.dateLineOk = SplitDateLine(run.file, &run.body);
    return run;
}

}  // namespace

TEST(StatusReport, WorkedExampleByteForByte)
{
    ScopedPackages packages;
    packages.Add("Alpha", "2.0.33");
    packages.SetString("Alpha", "InstallProject", "Setup1");
    AddComponent("Alpha", "01", "Codec", "{C0DEC000-0000-0000-0000-000000000000}", "1.2");
    AddComponent("Alpha", "02", "", "X", "");

    SYSTEMTIME before;
    GetLocalTime(&before);
    ReportRun run = RunReport("example");
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(run.dialogs.empty());
    ASSERT_TRUE(run.dateLineOk) << run.file;
    EXPECT_EQ(run.file.compare(13, 4, std::to_string(before.wYear)), 0) << run.file;
    EXPECT_EQ(run.body,
              "Product: \r\n"
              "Alpha Version: 2.0.33 Hide: 0 \r\n"
              "InstallProject: Setup1 \r\n"
              "Components: \r\n"
              " Codec  Version: 1.2 \r\n"
              " X  Version: Unknown \r\n"
              "\r\n");
}

TEST(StatusReport, OnlyTheDateLineWithoutPackages)
{
    {
        ScopedPackages empty;
        ReportRun run = RunReport("empty");
        EXPECT_TRUE(run.result);
        ASSERT_TRUE(run.dateLineOk) << run.file;
        EXPECT_EQ(run.body, "");
        EXPECT_EQ(run.file.size(), 36u);  // "Report Date: " + 19 + CR LF CR LF, for a four-digit year
        EXPECT_TRUE(run.dialogs.empty());
    }
    {
        ScopedPackages missing(false);
        ReportRun run = RunReport("missing");
        EXPECT_TRUE(run.result);
        ASSERT_TRUE(run.dateLineOk) << run.file;
        EXPECT_EQ(run.body, "");
        EXPECT_TRUE(run.dialogs.empty());  // no message for a missing Packages key
    }
}

TEST(StatusReport, ReportsEveryPackageInRegistryOrderWithItsDefaults)
{
    ScopedPackages packages;
    packages.Add("A Hidden", "1.0");
    packages.SetString("A Hidden", "Hide", "1");
    packages.SetString("A Hidden", "InstallProject", "Proj");
    packages.Add("B Bare");
    const BYTE binaryHide[] = {1, 0};
    packages.Add("C Binary", "3.1");
    packages.SetRaw("C Binary", "Hide", REG_BINARY, binaryHide, sizeof(binaryHide));
    packages.Add("D Shown", "4");
    packages.SetString("D Shown", "Hide", "0");
    AddComponent("D Shown", "01", "Core", "{D}", "4.0");

    ReportRun run = RunReport("defaults");
    EXPECT_TRUE(run.result);
    ASSERT_TRUE(run.dateLineOk) << run.file;
    EXPECT_EQ(run.body,
              "Product: \r\nA Hidden Version: 1.0 Hide: 1 \r\nInstallProject: Proj \r\nComponents: \r\n\r\n"
              "Product: \r\nB Bare Version:  Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\nC Binary Version: 3.1 Hide: 1 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\nD Shown Version: 4 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n"
              " Core  Version: 4.0 \r\n\r\n");
}

TEST(StatusReport, PackagesWithoutAComponentListHaveNoComponentLines)
{
    ScopedPackages packages;
    packages.Add("1 NotImpl", "1");  // no Components key: E_NOTIMPL
    packages.Add("2 Empty", "2");
    AddComponentList("2 Empty");
    packages.Add("3 Negative", "3");
    AddComponent("3 Negative", "01", "Never", "{N}", "1");
    SetComponentCount("3 Negative", 0xFFFFFFFFu);
    packages.Add("4 Huge", "4");
    AddComponent("4 Huge", "01", "Never", "{H}", "1");
    SetComponentCount("4 Huge", 0x7FFFFFFFu);
    packages.Add("5 Listed", "5");
    AddComponent("5 Listed", "01", "", "{5}", "");

    ReportRun run = RunReport("nolist");
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(run.dialogs.empty());
    ASSERT_TRUE(run.dateLineOk) << run.file;
    EXPECT_EQ(run.body,
              "Product: \r\n1 NotImpl Version: 1 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\n2 Empty Version: 2 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\n3 Negative Version: 3 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\n4 Huge Version: 4 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n\r\n"
              "Product: \r\n5 Listed Version: 5 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n"
              " {5}  Version: Unknown \r\n\r\n");
}

namespace {

// Creates name under parent; the handle is the caller's.
HKEY CreateChild(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void SetText(HKEY key, const char* name, const std::string& text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), (DWORD)text.size() + 1);
}

// Removes a package key by its name relative to the Packages key, on every way out:
// the test support's full-path deletion cannot reach a name this long.
struct LongPackageCleanup {
    explicit LongPackageCleanup(const std::string& packageName) : name(packageName) {}
    ~LongPackageCleanup()
    {
        CRegKey root(CreateKeyForTest(HKEY_LOCAL_MACHINE, kTestPackagesPath));
        if (root.IsOpen())
            RegDeleteTreeA(root, name.c_str());
        RegDeleteKeyA(root, name.c_str());
    }
    std::string name;
};

}  // namespace

TEST(StatusReport, FieldsAtTheirLimitsAreReportedWhole)
{
    ScopedPackages packages;
    std::string name(254, 'p');
    std::string version(31, '9');
    std::string project(255, 'i');
    std::string component(255, 'c');
    std::string componentVersion(55, '5');
    // Created one level at a time: the full path is longer than an ANSI path may be.
    LongPackageCleanup cleanup(name);
    {
        CRegKey root(CreateKeyForTest(HKEY_LOCAL_MACHINE, kTestPackagesPath));
        CRegKey package(CreateChild(root, name.c_str()));
        ASSERT_NE((HKEY)package, nullptr);
        SetText(package, "Version", version);
        SetText(package, "InstallProject", project);
        CRegKey entry(CreateChild(package, "Components\\01"));
        ASSERT_NE((HKEY)entry, nullptr);
        SetText(entry, "Name", component);
        SetText(entry, "Version", componentVersion);
    }

    ReportRun run = RunReport("limits");
    EXPECT_TRUE(run.result);
    ASSERT_TRUE(run.dateLineOk) << run.file;
    EXPECT_EQ(run.body, "Product: \r\n" + name + " Version: " + version + " Hide: 0 \r\nInstallProject: " +
                            project + " \r\nComponents: \r\n " + component + "  Version: " + componentVersion +
                            " \r\n\r\n");
}
