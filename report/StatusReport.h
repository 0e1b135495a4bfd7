// StatusReport.h: the status report of every installed package and its components.
#pragma once

#include <windows.h>
#include <string>

class CWholeFile;

extern const char kReportFileName[];        // "Daxfltstat.txt", the name offered first
extern const char kComponentWarningText[];  // shown when the component cannot be created

// Where the report goes, one call per piece as soon as the piece is formed.
class CReportOutput {
public:
    virtual ~CReportOutput() {}
    // False when the piece could not be written; the report then stops.
    virtual bool Write(const std::string& piece) = 0;
};

// How the report's body ended.
enum ReportResult {
    kReportWritten,      // every piece written
    kReportWriteFailed,  // a write failed; the report stopped there
    kReportNoComponent,  // the package information component could not be created
};

// The report from the date line on: every package of the Packages key with its
// components, through one instance of the package information component. A missing
// component leaves the date line alone; with warn it shows its warning owned by owner
// first.
ReportResult WriteReportBody(CReportOutput& out, HWND owner, bool warn = true);

// Writes the report through file, which replaces its target whole once committed; the
// command line's report. Nothing is shown: a missing component is kReportNoComponent
// and leaves the target as it was.
class CWholeFile;
ReportResult WriteReportWhole(CWholeFile& file);

// Creates path anew, without sharing (an existing file is emptied), and writes the
// report. A file that cannot be created or written shows the file error owned by
// owner once the file is closed; what was written stays. False in that case.
bool WriteStatusReport(const char* path, HWND owner);

// The report's save-as dialog owned by owner; false when the user does not confirm.
bool ChooseReportFile(HWND owner, std::string& path);
