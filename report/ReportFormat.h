// ReportFormat.h: the texts of the status report, formed without any system call so
// that they can be checked and fuzzed on any platform.
#pragma once

#include <stddef.h>
#include <string>

extern const char kReportLineEnd[];  // "\r\n"

// "Report Date: 2026.12.07 06:45:40" followed by CR LF and one empty line.
std::string FormatReportDateLine(int year, int month, int day, int hour, int minute, int second);

// The four lines that open a package's block, up to and including "Components: ".
std::string FormatBlockHead(const std::string& name, const std::string& version, bool hidden,
                            const std::string& installProject);

// The first piece of a component line: " name ", or " classId " when name is empty.
std::string FormatComponentName(const std::string& name, const std::string& classId);
// The second piece: " Version: version ", or " Version: Unknown " when it is empty.
std::string FormatComponentVersion(const std::string& version);

// The text of a fixed-size field: up to its first zero byte or its end.
std::string FieldText(const char* field, size_t size);
