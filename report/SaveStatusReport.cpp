// SaveStatusReport.cpp: the main window's " Save status report" command.
#include "ui/PackagesDlg.h"

#include "report/StatusReport.h"

#include <string>

void CPackagesDlg::SaveStatusReport()
{
    std::string path;
    if (ChooseReportFile(m_hWnd, path))
        WriteStatusReport(path.c_str(), m_hWnd);
}
