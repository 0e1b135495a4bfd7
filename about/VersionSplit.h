// VersionSplit.h: splitting a "FileVersion" text at its commas into four short parts.
// Plain logic without windows.h.
#pragma once

#include "framework/MultiByte.h"

enum {
    kVersionPartCount = 4,  // piece 1, piece 2, piece 3, build
    kVersionPartSize = 8,   // at most 7 bytes and the terminating zero
};

// Splits text: the pieces before the first three commas go to parts[0..2]; the text
// after the third comma becomes the build (parts[3]) only when there are exactly
// three commas. Commas are characters of the code page of lead, never trail bytes.
// Pieces are kept as they are, blanks included, and cut to 7 bytes on a character
// boundary. Parts that the text does not supply are left unchanged.
void SplitFileVersion(const char* text, char parts[kVersionPartCount][kVersionPartSize], const LeadBytes& lead);
