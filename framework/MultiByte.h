// MultiByte.h: stepping through ANSI text of a code page whose characters may take two
// bytes (932, 936, 949, 950). Plain logic without windows.h: the code page comes in as
// its lead bytes, so that a native build can exercise the double-byte rules.
#pragma once

#include <stddef.h>

// The lead bytes of a code page exactly as CPINFO::LeadByte gives them: pairs of first
// and last byte of a range, ended by a zero pair. A single-byte code page has none,
// and every operation below then works on plain bytes.
struct LeadBytes {
    unsigned char ranges[12];
    bool IsLead(unsigned char byte) const;
};

// What the searches return when there is no match.
const size_t kNoMatch = static_cast<size_t>(-1);

// The operations take a text of length bytes (no NUL inside). A character is a lead
// byte and the byte after it, or any other byte alone; a lead byte that ends the text
// is a character of one byte, as CharNextA takes it.

// The size of the character that starts at offset at: 1 or 2.
size_t CharSize(const char* text, size_t length, size_t at, const LeadBytes& lead);

// The longest prefix of at most limit bytes that ends on a character boundary: length
// itself when the text fits, else never in the middle of a character.
size_t CharPrefixLength(const char* text, size_t length, size_t limit, const LeadBytes& lead);

// Copies the longest prefix that CharPrefixLength allows within outSize - 1 bytes into
// out and terminates it; out may be text itself. Returns the length copied.
size_t CopyCharPrefix(char* out, size_t outSize, const char* text, size_t length, const LeadBytes& lead);

// The first and the last character c (an ASCII byte), never a trail byte equal to it;
// kNoMatch when there is none.
size_t FindFirstChar(const char* text, size_t length, char c, const LeadBytes& lead);
size_t FindLastChar(const char* text, size_t length, char c, const LeadBytes& lead);

// The first occurrence of needle that starts at a character; kNoMatch when none does.
size_t FindCharText(const char* text, size_t length, const char* needle, const LeadBytes& lead);
