// ReportDialogTest.cpp: the save-as dialog, the file error box and the component warning,
// each found and answered as the user would.
#include "framework/FileError.h"
#include "report/StatusReport.h"
#include "tests/component/ComponentSeed.h"
#include "tests/report/DialogCatcher.h"
#include "tests/report/ReportFiles.h"
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Save-as dialog items: the file name edit (or the combo box that holds it), the
// type list and the read-only box.
const int kFileNameEdit = 0x480;
const int kFileNameCombo = 0x47c;
const int kFileTypeList = 0x470;
const int kReadOnlyBox = 0x410;

BOOL CALLBACK FindFileNameEdit(HWND child, LPARAM lParam)
{
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof(cls));
    int id = GetDlgCtrlID(child);
    if (lstrcmpiA(cls, "Edit") == 0 && IsWindowVisible(child) && (id == kFileNameEdit || id == kFileNameCombo)) {
        *reinterpret_cast<HWND*>(lParam) = child;
        return FALSE;
    }
    return TRUE;
}

// The visible edit of the file name: edt1 itself, or the edit inside the cmb13 combo.
HWND FileNameEdit(HWND dialog)
{
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the save-as dialog showed before it was answered.
struct SaveAsView {
    std::string initialName;
    std::string fileType;
    bool readOnlyShown = true;
};

// Answers the save-as dialog: types name (unless empty) and presses OK, or cancels;
// a later dialog (the overwrite question) is answered with Yes.
CDialogCatcher::Handler AnswerSaveAs(SaveAsView* view, const std::string& name, bool ok)
{
    return [view, name, ok](HWND dialog, const SeenDialog&, size_t index) {
        if (index > 0) {
            PostMessageA(dialog, WM_COMMAND, IDYES, 0);
            return true;
        }
        HWND edit = FileNameEdit(dialog);
        view->initialName = WindowText(edit);
        HWND types = GetDlgItem(dialog, kFileTypeList);
        char type[128] = "";
        LRESULT sel = SendMessageA(types, CB_GETCURSEL, 0, 0);
        if (sel >= 0 && SendMessageA(types, CB_GETLBTEXTLEN, sel, 0) < (LRESULT)sizeof(type))
            SendMessageA(types, CB_GETLBTEXT, sel, (LPARAM)type);
        view->fileType = type;
        HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
        view->readOnlyShown = readOnly && IsWindowVisible(readOnly);
        if (!ok) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)name.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    };
}

std::string ExpectedOnlyPackage()
{
    return "Product: \r\nOnly Version: 1.0 Hide: 0 \r\nInstallProject:  \r\nComponents: \r\n Part  Version: 7 \r\n\r\n";
}

void SeedOnlyPackage(ScopedPackages& packages)
{
    packages.Add("Only", "1.0");
    AddComponent("Only", "01", "Part", "{P}", "7");
}

}  // namespace

TEST(ReportSaveAs, TypedNameWithoutExtensionGetsTxt)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    std::string dir = MakeTempDir("saveas");
    CTestOwnerWindow owner;
    SaveAsView view;
    std::string path;
    bool chosen = false;
    std::vector<SeenDialog> seen;
    {
        CDialogCatcher catcher(AnswerSaveAs(&view, dir + "typed", true));
        chosen = ChooseReportFile(owner, path);
        if (chosen)
            WriteStatusReport(path.c_str(), owner);
        catcher.Stop();
        seen = catcher.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, (HWND)owner);
    EXPECT_EQ(view.initialName, "Daxfltstat.txt");
    EXPECT_EQ(view.fileType, "Text (*.txt)");
    EXPECT_FALSE(view.readOnlyShown);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(path, dir + "typed.txt");
    std::string body;
    std::string text = ReadWholeFile(dir + "typed.txt");
    ASSERT_TRUE(SplitDateLine(text, &body)) << text;
    EXPECT_EQ(body, ExpectedOnlyPackage());
    EXPECT_FALSE(FileExists(dir + "typed"));
}

TEST(ReportSaveAs, CancelWritesNothing)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    CTestOwnerWindow owner;
    SaveAsView view;
    std::string path = "unchanged";
    bool chosen = true;
    {
        CDialogCatcher catcher(AnswerSaveAs(&view, "", false));
        chosen = ChooseReportFile(owner, path);
        catcher.Stop();
        EXPECT_EQ(catcher.Seen().size(), 1u);
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(path, "unchanged");
}

TEST(ReportSaveAs, ExistingFileIsOverwrittenOnlyAfterTheQuestion)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    std::string dir = MakeTempDir("replace");
    std::string target = dir + "existing.txt";
    ASSERT_TRUE(WriteWholeFile(target, std::string(4096, 'z')));
    CTestOwnerWindow owner;
    SaveAsView view;
    std::string path;
    std::vector<SeenDialog> seen;
    {
        CDialogCatcher catcher(AnswerSaveAs(&view, target, true));
        if (ChooseReportFile(owner, path))
            WriteStatusReport(path.c_str(), owner);
        catcher.Stop();
        seen = catcher.Seen();
    }
    ASSERT_EQ(seen.size(), 2u);  // the save-as dialog, then the overwrite question
    EXPECT_EQ(seen[1].owner, seen[0].hwnd);
    EXPECT_EQ(path, target);
    std::string body;
    std::string text = ReadWholeFile(target);
    ASSERT_TRUE(SplitDateLine(text, &body)) << text.substr(0, 40);
    EXPECT_EQ(body, ExpectedOnlyPackage());
}

TEST(ReportFileErrors, UncreatableFilesShowTheStopBoxAndLeaveNothingBehind)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    std::string dir = MakeTempDir("errors");
    std::string folder = dir + "folder";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    // A read-only file system: no permission bit that the test user could pass over.
    std::string readOnly = "Z:\\proc\\vantorix-report.txt";
    std::string missingFolder = dir + "nowhere\\report.txt";

    CTestOwnerWindow owner;
    HICON stop = LoadIconA(nullptr, IDI_HAND);
    for (const std::string& path : {folder, folder + "\\", readOnly, missingFolder}) {
        SCOPED_TRACE(path);
        std::vector<SeenDialog> seen;
        bool written = true;
        {
            CDialogCatcher catcher;
            written = WriteStatusReport(path.c_str(), owner);
            catcher.Stop();
            seen = catcher.Seen();
        }
        EXPECT_FALSE(written);
        ASSERT_EQ(seen.size(), 1u);  // the error alone: the report stopped before the component
        EXPECT_EQ(seen[0].caption, "Vantorix");
        EXPECT_NE(seen[0].text.find(path), std::string::npos) << seen[0].text;
        EXPECT_EQ(seen[0].owner, (HWND)owner);
        EXPECT_EQ(seen[0].icon, stop);
    }
    EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, (DWORD)FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(readOnly));
    EXPECT_FALSE(FileExists(dir + "nowhere"));
}

TEST(ReportFileErrors, FailedWriteStopsTheReportWithTheReason)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    const char* full = "Z:\\dev\\full";  // every write fails: no space left
    std::vector<SeenDialog> seen;
    bool written = true;
    {
        CDialogCatcher catcher;
        written = WriteStatusReport(full, nullptr);
        catcher.Stop();
        seen = catcher.Seen();
    }
    EXPECT_FALSE(written);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Vantorix");
    EXPECT_NE(seen[0].text.find(full), std::string::npos) << seen[0].text;
    EXPECT_NE(seen[0].text.find(SystemErrorText(ERROR_DISK_FULL)), std::string::npos) << seen[0].text;
    EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_HAND));
}

TEST(ReportComponentWarning, MissingComponentLeavesOnlyTheDateLine)
{
    ScopedPackages packages;
    SeedOnlyPackage(packages);
    std::string path = MakeTempDir("warning") + "report.txt";
    CTestOwnerWindow owner;
    std::vector<SeenDialog> seen;
    bool written = false;
    {
        ScopedUnregisteredComponent hidden;
        ASSERT_FALSE(hidden.Server().empty()) << "the component is not registered in the prefix";
        CDialogCatcher catcher;
        written = WriteStatusReport(path.c_str(), owner);
        catcher.Stop();
        seen = catcher.Seen();
    }
    EXPECT_TRUE(written);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Vantorix");
    EXPECT_EQ(seen[0].text, "Some components not installed or work incorrectly.");
    EXPECT_EQ(seen[0].owner, (HWND)owner);
    EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_EXCLAMATION));
    std::string body = "x";
    std::string text = ReadWholeFile(path);
    ASSERT_TRUE(SplitDateLine(text, &body)) << text;
    EXPECT_EQ(body, "");

    // Registered again, the next report lists the package.
    {
        CDialogCatcher catcher;
        ASSERT_TRUE(WriteStatusReport(path.c_str(), owner));
        catcher.Stop();
        EXPECT_TRUE(catcher.Seen().empty());
    }
    ASSERT_TRUE(SplitDateLine(ReadWholeFile(path), &body));
    EXPECT_EQ(body, ExpectedOnlyPackage());
}
