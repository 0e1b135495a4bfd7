// ListCsv.cpp: product list CSV lines.
#include "report/ListCsv.h"

const char kListCsvHeader[] = "Application,Current Version,Update Version,Update Page\r\n";

std::string CsvField(const std::string& text)
{
    // The four bytes are below 0x40, which no double-byte code page uses as a trail
    // byte, so a byte-wise search finds only real characters.
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string FormatListCsvLine(const std::string& application, const std::string& currentVersion,
                              const std::string& updateVersion, const std::string& updatePage)
{
    return CsvField(application) + "," + CsvField(currentVersion) + "," + CsvField(updateVersion) + "," +
           CsvField(updatePage) + "\r\n";
}
