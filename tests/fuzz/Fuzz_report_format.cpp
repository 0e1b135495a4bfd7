// Fuzz_report_format.cpp: the texts of the status report from hostile field values.
#include "report/ReportFormat.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    int year = data[0] * 256 + data[1], month = data[2] % 13, day = data[3] % 32;
    int hour = data[4] % 24, minute = data[5] % 60, second = data[6] % 60;
    bool hidden = data[7] & 1;
    std::string line = FormatReportDateLine(year, month, day, hour, minute, second);
    if (line.compare(0, 13, "Report Date: ") != 0 || line.size() < 17 ||
        line.compare(line.size() - 4, 4, "\r\n\r\n") != 0)
        abort();

    std::string rest(reinterpret_cast<const char*>(data + 8), size - 8);
    // Fixed-size fields of the registry and of a component record, not always terminated.
    char field[56];
    memset(field, 'x', sizeof(field));
    memcpy(field, rest.data(), rest.size() < sizeof(field) ? rest.size() : sizeof(field));
    std::string version = FieldText(field, sizeof(field));
    if (version.size() > sizeof(field))
        abort();

    size_t a = rest.find('\n'), b = a == std::string::npos ? a : rest.find('\n', a + 1);
    std::string name = rest.substr(0, a);
    std::string project = b == std::string::npos ? std::string() : rest.substr(b + 1);
    std::string head = FormatBlockHead(name, version, hidden, project);
    if (head.compare(0, 11, "Product: \r\n") != 0)
        abort();
    std::string piece = FormatComponentName(name, project) + FormatComponentVersion(version);
    if (piece.empty() || piece[0] != ' ')
        abort();
    return 0;
}
