// StatusReport.cpp: walks the packages and writes the status report.
#include "report/StatusReport.h"

#include "framework/FileDialog.h"
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "framework/WholeFile.h"
#include "packages/PackageInfo.h"
#include "packages/PackageRegistry.h"
#include "report/ReportFormat.h"

#include <vector>

const char kReportFileName[] = "Daxfltstat.txt";
const char kComponentWarningText[] = "Some components not installed or work incorrectly.";

namespace {

const char kReportFilter[] = "Text (*.txt)|*.txt||";
enum : DWORD { kInstallProjectSize = 256 };

// Writes each piece straight to the file; keeps the reason of the first failure.
class CReportFile : public CReportOutput {
public:
    explicit CReportFile(HANDLE file) : m_file(file), m_error(ERROR_SUCCESS) {}

    bool Write(const std::string& piece) override { return WriteAll(m_file, piece.data(), (DWORD)piece.size(), &m_error); }
    DWORD Error() const { return m_error; }

private:
    HANDLE m_file;
    DWORD m_error;
};

// Writes each piece to a file replaced whole, which keeps the reason of a failure.
class CWholeReportFile : public CReportOutput {
public:
    explicit CWholeReportFile(CWholeFile& file) : m_file(file) {}

    bool Write(const std::string& piece) override { return m_file.Write(piece.data(), (DWORD)piece.size()); }

private:
    CWholeFile& m_file;
};

}  // namespace

ReportResult WriteReportBody(CReportOutput& out, HWND owner, bool warn)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (!out.Write(FormatReportDateLine(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond)))
        return kReportWriteFailed;

    CRegKey packages(OpenPackagesKey(kPackagesWalkPath));
    if (!packages.IsOpen())
        return kReportWritten;

    CPackageInfoClient info;
    if (!info.IsCreated()) {
        if (warn)
            ::MessageBoxA(owner, kComponentWarningText, "Vantorix", MB_OK | MB_ICONEXCLAMATION);
        return kReportNoComponent;
    }

    char name[kWalkNameSize];
    for (DWORD index = 0; EnumPackages(packages, index, name, sizeof(name)); ++index) {
        char version[kVersionFieldSize] = "";
        char installProject[kInstallProjectSize] = {};
        bool hidden = false;
        {
            CRegKey package(OpenPackageKey(packages, name));
            if (package.IsOpen()) {
                ReadPackageVersion(package, version);
                ReadTextValue(package, "InstallProject", installProject, sizeof(installProject));
                hidden = ReadHideFlag(package);
            }
        }
        if (!out.Write(FormatBlockHead(FieldText(name, sizeof(name)), FieldText(version, sizeof(version)), hidden,
                                       FieldText(installProject, sizeof(installProject)))))
            return kReportWriteFailed;

        std::vector<ComponentRecord> records;
        if (info.ListComponents(name, records)) {
            for (const ComponentRecord& r : records) {
                if (!out.Write(FormatComponentName(FieldText(r.name, sizeof(r.name)),
                                                   FieldText(r.classId, sizeof(r.classId)))) ||
                    !out.Write(FormatComponentVersion(FieldText(r.version, sizeof(r.version)))) ||
                    !out.Write(kReportLineEnd))
                    return kReportWriteFailed;
            }
        }
        if (!out.Write(kReportLineEnd))
            return kReportWriteFailed;
    }
    return kReportWritten;
}

bool WriteStatusReport(const char* path, HWND owner)
{
    CWinHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        ReportFileError(owner, path, ::GetLastError());
        return false;
    }
    CReportFile out(file);
    bool written = WriteReportBody(out, owner) != kReportWriteFailed;
    file.Close();
    if (!written)
        ReportFileError(owner, path, out.Error());
    return written;
}

ReportResult WriteReportWhole(CWholeFile& file)
{
    CWholeReportFile out(file);
    ReportResult result = WriteReportBody(out, nullptr, false);
    if (result == kReportWritten && !file.Commit())
        result = kReportWriteFailed;
    return result;
}

bool ChooseReportFile(HWND owner, std::string& path)
{
    CFileDialog dialog(FALSE, "txt", kReportFileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kReportFilter, owner);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return !path.empty();
}
