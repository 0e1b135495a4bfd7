// VersionSplit.cpp: comma splitting of the "FileVersion" text; no Win32 here.
#include "about/VersionSplit.h"

#include <string.h>

void SplitFileVersion(const char* text, char parts[kVersionPartCount][kVersionPartSize], const LeadBytes& lead)
{
    if (!text)
        return;
    const char* start = text;
    size_t left = strlen(text);
    int commas = 0;
    for (size_t comma; (comma = FindFirstChar(start, left, ',', lead)) != kNoMatch;) {
        if (commas < kVersionPartCount - 1)
            CopyCharPrefix(parts[commas], kVersionPartSize, start, comma, lead);
        ++commas;
        start += comma + 1;
        left -= comma + 1;
    }
    if (commas == kVersionPartCount - 1)
        CopyCharPrefix(parts[kVersionPartCount - 1], kVersionPartSize, start, left, lead);
}
