// ReportFormat.cpp: status report texts.
#include "report/ReportFormat.h"

#include <stdio.h>
#include <string.h>

const char kReportLineEnd[] = "\r\n";

std::string FormatReportDateLine(int year, int month, int day, int hour, int minute, int second)
{
    // Each field of SYSTEMTIME fits a WORD: at most 5 digits, 6 with a sign.
    char date[64];
    snprintf(date, sizeof(date), "%d.%02d.%02d %.2d:%.2d:%.2d", year, month, day, hour, minute, second);
    std::string line = "Report Date: ";
    line += date;
    line += kReportLineEnd;
    line += kReportLineEnd;
    return line;
}

std::string FormatBlockHead(const std::string& name, const std::string& version, bool hidden,
                            const std::string& installProject)
{
    std::string head;
    head.reserve(64 + name.size() + version.size() + installProject.size());
    head += "Product: ";
    head += kReportLineEnd;
    head += name;
    head += " Version: ";
    head += version;
    head += " Hide: ";
    head += hidden ? "1" : "0";
    head += " ";
    head += kReportLineEnd;
    head += "InstallProject: ";
    head += installProject;
    head += " ";
    head += kReportLineEnd;
    head += "Components: ";
    head += kReportLineEnd;
    return head;
}

std::string FormatComponentName(const std::string& name, const std::string& classId)
{
    return " " + (name.empty() ? classId : name) + " ";
}

std::string FormatComponentVersion(const std::string& version)
{
    return " Version: " + (version.empty() ? std::string("Unknown") : version) + " ";
}

std::string FieldText(const char* field, size_t size)
{
    const void* end = memchr(field, 0, size);
    return std::string(field, end ? static_cast<const char*>(end) - field : size);
}
