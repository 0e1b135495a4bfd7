// ListCsv.h: the product list as CSV (RFC 4180), formed without any system call so that
// it can be checked and fuzzed on any platform.
#pragma once

#include <string>

// "Application,Current Version,Update Version,Update Page" and CR LF.
extern const char kListCsvHeader[];

// One field: as it is, or between double quotes, with its quotes doubled, when it holds
// a comma, a double quote, CR or LF.
std::string CsvField(const std::string& text);

// One line of four fields, ended by CR LF.
std::string FormatListCsvLine(const std::string& application, const std::string& currentVersion,
                              const std::string& updateVersion, const std::string& updatePage);
