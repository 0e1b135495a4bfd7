// ReportFiles.h: reading back a written report in the report tests.
#pragma once

#include <ctype.h>
#include <string>

// True when text opens with "Report Date: YYYY.MM.DD hh:mm:ss" CR LF CR LF (the year
// without leading zeros); rest then holds what follows.
inline bool SplitDateLine(const std::string& text, std::string* rest)
{
    const std::string head = "Report Date: ";
    if (text.compare(0, head.size(), head) != 0)
        return false;
    size_t i = head.size();
    size_t yearStart = i;
    while (i < text.size() && isdigit((unsigned char)text[i]))
        ++i;
    if (i == yearStart || text[yearStart] == '0')
        return false;
    const char* tail = ".dd.dd dd:dd:dd\r\n\r\n";
    for (const char* p = tail; *p; ++p, ++i) {
        if (i >= text.size())
            return false;
        if (*p == 'd' ? !isdigit((unsigned char)text[i]) : text[i] != *p)
            return false;
    }
    if (rest)
        *rest = text.substr(i);
    return true;
}
