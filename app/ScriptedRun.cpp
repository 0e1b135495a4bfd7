// ScriptedRun.cpp: the scripted run, on the same operations as the main window: the
// product list's pass and the status report's writer.
#include "app/ScriptedRun.h"

#include "app/ProgressLine.h"
#include "framework/AnsiCodePage.h"
#include "framework/FileError.h"
#include "framework/WholeFile.h"
#include "report/StatusReport.h"
#include "report/ListCsv.h"
#include "update/PageAddress.h"
#include "update/ProductListPass.h"
#include "update/Progress.h"

#include <stdio.h>
#include <string>
#include <vector>

namespace {

// Short lines: the message box wraps long ones.
const char kUsageText[] =
    "vantorix [/check] [/list FILE] [/report FILE]\n"
    "         [/proxy PROXY|direct]\n"
    "\n"
    "/check: ask the update server first (\"Check updates\").\n"
    "/list FILE: write the product list to FILE as CSV.\n"
    "/report FILE: write the status report to FILE.\n"
    "/proxy: the proxy of /check, or none (direct). PROXY\n"
    "    is HOST:PORT, http://HOST:PORT, [IPv6]:PORT, or\n"
    "    a list such as http=HOST:PORT;https=HOST:PORT,\n"
    "    whose http= entry counts.\n"
    "/?, /help, /h: this usage.\n"
    "\n"
    "The work runs in that order, shows no window, and\n"
    "replaces an existing FILE. Flags match in any case,\n"
    "after / or - (or --: --check, --list, --help).\n"
    "\n"
    "Exit codes:\n"
    "0: done; no package shows an update version.\n"
    "1: wrong command line, a file not written, or the\n"
    "    package information component missing (/report).\n"
    "2: at least one package shows an update version.\n"
    "3: no update version shown, but some packages\n"
    "    could not be checked.";

const char kUsageHint[] = "Type vantorix /? for the usage.";

// The standard handle when it is a console; null otherwise.
HANDLE ConsoleHandle(DWORD which)
{
    HANDLE handle = ::GetStdHandle(which);
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Text to a standard handle. A console shows the text in Unicode; a file or a pipe gets
// the ANSI bytes.
void WriteText(DWORD which, const std::string& ansi, const std::wstring& wide)
{
    DWORD written = 0;
    if (HANDLE console = ConsoleHandle(which)) {
        ::WriteConsoleW(console, wide.data(), (DWORD)wide.size(), &written, nullptr);
        return;
    }
    HANDLE handle = ::GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE)
        ::WriteFile(handle, ansi.data(), (DWORD)ansi.size(), &written, nullptr);
}

void WriteText(DWORD which, const std::string& text)
{
    WriteText(which, text, AnsiToWide(text));
}

// A check's progress where standard error is a console (null: it is not, and nothing is
// shown): one line, rewritten for every package queried and cleared at the end, before
// the run's own lines.
class CConsoleProgress : public CNoProgress {
public:
    explicit CConsoleProgress(HANDLE console) : m_hConsole(console), m_shown(0) {}
    ~CConsoleProgress() override
    {
        if (m_shown)
            WriteText(STD_ERROR_HANDLE, ClearedProgressLine(m_shown));
    }
    CConsoleProgress(const CConsoleProgress&) = delete;
    CConsoleProgress& operator=(const CConsoleProgress&) = delete;

    void BeginPackage(const char* name, int index, int total) override
    {
        if (!m_hConsole)
            return;
        // A line as wide as the buffer would wrap, and CR would not bring it back.
        CONSOLE_SCREEN_BUFFER_INFO info;
        const size_t width = ::GetConsoleScreenBufferInfo(m_hConsole, &info) && info.dwSize.X > 0 ? info.dwSize.X : 80;
        WriteText(STD_ERROR_HANDLE, ProgressLineText(name, index, total, width, m_shown, AnsiLeadBytes()));
    }

private:
    HANDLE m_hConsole;
    size_t m_shown;  // bytes of the line shown; 0 when none is
};

// The usage as the front end shows it: a message box for the window program, lines on
// standard output for the console program.
void ShowUsage(ScriptedFrontEnd frontEnd)
{
    if (frontEnd == ScriptedFrontEnd::kWindowProgram) {
        ::MessageBoxA(nullptr, kUsageText, "Vantorix", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::string text;
    for (const char* p = kUsageText; *p; ++p) {
        if (*p == '\n')
            text += '\r';
        text += *p;
    }
    WriteText(STD_OUTPUT_HANDLE, text + "\r\n");
}

void FileErrorLine(const CWholeFile& file)
{
    ScriptedErrorLine(L"Could not write " + file.PathW() + L": " + AnsiToWide(SystemErrorText(file.Error())));
}

// The rows as CSV lines, each newer version with the page that the pass paired with it.
class CCsvRows : public CPackageRowSink {
public:
    void AddRow(int /*index*/, const PackageRow& row) override
    {
        if (row.update[0])
            m_updateShown = true;
        // Only a web page address is one the list would open.
        const bool page = row.update[0] && IsWebPageAddress(row.page);
        m_text += FormatListCsvLine(row.name, row.version, row.update, page ? row.page : "");
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
        ScriptedErrorLine(kComponentWarningText);
        return false;
    default:
        FileErrorLine(file);
        return false;
    }
}

}  // namespace

void ScriptedErrorLine(const std::string& text)
{
    WriteText(STD_ERROR_HANDLE, text + "\r\n");
}

void ScriptedErrorLine(const std::wstring& text)
{
    WriteText(STD_ERROR_HANDLE, WideToAnsi(text + L"\r\n"), text + L"\r\n");
}

int RunScriptedCommand(const ScriptedCommand& command, ScriptedFrontEnd frontEnd)
{
    // Nobody may be there to answer the system's own boxes (a drive without a medium, a
    // crash): a failure is reported as the run's result instead.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // A wrong line is a fault even beside /?, so that a script learns of it.
    if (!command.error.empty()) {
        ScriptedErrorLine(command.error);
        if (command.usageHint)
            ScriptedErrorLine(kUsageHint);
        return kExitFailed;
    }
    if (command.usage) {
        ShowUsage(frontEnd);
        return kExitDone;
    }
    // The arguments came through the ANSI code page: a character it cannot hold arrived as
    // another one, and a file would be written under a name nobody typed.
    if (!AnsiHolds(::GetCommandLineW())) {
        ScriptedErrorLine("The command line holds characters that the ANSI code page " + std::to_string(::GetACP()) +
                          " cannot hold; give the files names without them.");
        return kExitFailed;
    }

    int code = kExitDone;
    bool failed = false;
    if (command.check || command.list) {
        CCsvRows rows;
        PassCounts counts;
        {
            CConsoleProgress progress(ConsoleHandle(STD_ERROR_HANDLE));
            counts = RunProductListPass(command.check, progress, rows, command.proxy);
        }
        if (counts.unchecked > 0) {
            char text[96];
            snprintf(text, sizeof(text), "Could not check %d of %d packages for updates.", counts.unchecked,
                     counts.listed);
            ScriptedErrorLine(text);
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
