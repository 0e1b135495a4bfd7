// ScriptedRun.cpp: the scripted run, on the same operations as the main window: the
// product list's pass and the status report's writer.
#include "app/ScriptedRun.h"

#include "framework/FileError.h"
#include "framework/WholeFile.h"
#include "report/StatusReport.h"
#include "report/ListCsv.h"
#include "update/PageAddress.h"
#include "update/ProductListPass.h"
#include "update/Progress.h"
#include "update/UpdateStore.h"

#include <stdio.h>
#include <string>

namespace {

// Short lines: the message box wraps long ones.
const char kUsageText[] =
    "vantorix [/check] [/list FILE] [/report FILE]\n"
    "\n"
    "/check: ask the update server first (\"Check updates\").\n"
    "/list FILE: write the product list to FILE as CSV.\n"
    "/report FILE: write the status report to FILE.\n"
    "\n"
    "The work runs in that order, shows no window, and\n"
    "replaces an existing FILE.\n"
    "\n"
    "Exit codes:\n"
    "0: done; no package shows an update version.\n"
    "1: wrong command line, a file not written, or the\n"
    "    package information component missing (/report).\n"
    "2: at least one package shows an update version.\n"
    "3: no update version shown, but some packages\n"
    "    could not be checked.";

// One line on standard error, where the process has one (a script redirected it).
void ErrorLine(const std::string& text)
{
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE)
        return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    ::WriteFile(error, line.data(), (DWORD)line.size(), &written, nullptr);
}

void FileErrorLine(const CWholeFile& file)
{
    ErrorLine("Could not write " + file.Path() + ": " + SystemErrorText(file.Error()));
}

// The rows as CSV lines, with the stored page of every row that shows a newer version.
class CCsvRows : public CPackageRowSink {
public:
    void AddRow(int /*index*/, const PackageRow& row) override
    {
        char page[256] = {};
        if (row.update[0]) {
            m_updateShown = true;
            // Only a web page address is one the list would open.
            if (!UpdateStore(row.name, row.version, nullptr, kUpdateReadAddress, page) || !IsWebPageAddress(page))
                page[0] = '\0';
        }
        m_text += FormatListCsvLine(row.name, row.version, row.update, page);
    }
    const std::string& Text() const { return m_text; }
    bool UpdateShown() const { return m_updateShown; }

private:
    std::string m_text = kListCsvHeader;
    bool m_updateShown = false;
};

bool WriteList(const std::string& path, const std::string& text)
{
    CWholeFile file;
    if (!file.Open(path.c_str()) || !file.Write(text.data(), (DWORD)text.size()) || !file.Commit()) {
        FileErrorLine(file);
        return false;
    }
    return true;
}

bool WriteReport(const std::string& path)
{
    CWholeFile file;
    if (!file.Open(path.c_str())) {
        FileErrorLine(file);
        return false;
    }
    switch (WriteReportWhole(file)) {
    case kReportWritten:
        return true;
    case kReportNoComponent:
        ErrorLine(kComponentWarningText);
        return false;
    default:
        FileErrorLine(file);
        return false;
    }
}

}  // namespace

int RunScriptedCommand(const ScriptedCommand& command)
{
    if (command.usage) {
        ::MessageBoxA(nullptr, kUsageText, "Vantorix", MB_OK | MB_ICONINFORMATION);
        return kExitDone;
    }
    if (!command.error.empty()) {
        ErrorLine(command.error);
        return kExitFailed;
    }

    int code = kExitDone;
    bool failed = false;
    if (command.check || command.list) {
        CNoProgress noWindow;
        CCsvRows rows;
        const PassCounts counts = RunProductListPass(command.check, noWindow, rows);
        if (counts.unchecked > 0) {
            char text[96];
            snprintf(text, sizeof(text), "Could not check %d of %d packages for updates.", counts.unchecked,
                     counts.listed);
            ErrorLine(text);
        }
        if (rows.UpdateShown())
            code = kExitUpdates;
        else if (counts.unchecked > 0)
            code = kExitIncomplete;
        if (command.list && !WriteList(command.listFile, rows.Text()))
            failed = true;
    }
    if (command.report && !WriteReport(command.reportFile))
        failed = true;
    return failed ? kExitFailed : code;
}
