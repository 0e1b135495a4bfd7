// VersionSplit.h: splitting a "FileVersion" text at its commas into four short parts.
#pragma once

enum {
    kVersionPartCount = 4,  // piece 1, piece 2, piece 3, build
    kVersionPartSize = 8,   // at most 7 characters and the terminating zero
};

// Finds the first comma of text, or null. The Win32 reader passes a finder that
// steps over the characters of the multi-byte code page.
typedef const char* (*CommaFinder)(const char* text);

// Splits text: the pieces before the first three commas go to parts[0..2]; the text
// after the third comma becomes the build (parts[3]) only when there are exactly
// three commas. Pieces are kept as they are, blanks included, and cut to 7
// characters. Parts that the text does not supply are left unchanged. A null
// findComma searches byte by byte.
void SplitFileVersion(const char* text, char parts[kVersionPartCount][kVersionPartSize],
                      CommaFinder findComma = nullptr);
