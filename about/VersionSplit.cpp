// VersionSplit.cpp: comma splitting of the "FileVersion" text; no Win32 here.
#include "about/VersionSplit.h"

#include <string.h>

namespace {

const char* FindCommaByByte(const char* text)
{
    return strchr(text, ',');
}

// Copies length bytes of piece into part, cut to what the part holds.
void CopyPiece(char part[kVersionPartSize], const char* piece, size_t length)
{
    if (length > kVersionPartSize - 1)
        length = kVersionPartSize - 1;
    memcpy(part, piece, length);
    part[length] = 0;
}

}  // namespace

void SplitFileVersion(const char* text, char parts[kVersionPartCount][kVersionPartSize], CommaFinder findComma)
{
    if (!text)
        return;
    if (!findComma)
        findComma = FindCommaByByte;

    const char* start = text;
    int commas = 0;
    for (const char* comma = findComma(start); comma; comma = findComma(start)) {
        if (commas < kVersionPartCount - 1)
            CopyPiece(parts[commas], start, (size_t)(comma - start));
        ++commas;
        start = comma + 1;
    }
    if (commas == kVersionPartCount - 1)
        CopyPiece(parts[kVersionPartCount - 1], start, strlen(start));
}
