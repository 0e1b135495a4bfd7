// MultiByte.cpp: characters of single- and double-byte ANSI code pages.
#include "framework/MultiByte.h"

#include <string.h>

bool LeadBytes::IsLead(unsigned char byte) const
{
    for (size_t i = 0; i + 1 < sizeof(ranges) && ranges[i] != 0; i += 2) {
        if (byte >= ranges[i] && byte <= ranges[i + 1])
            return true;
    }
    return false;
}

size_t CharSize(const char* text, size_t length, size_t at, const LeadBytes& lead)
{
    return at + 1 < length && lead.IsLead(static_cast<unsigned char>(text[at])) ? 2 : 1;
}

size_t CharPrefixLength(const char* text, size_t length, size_t limit, const LeadBytes& lead)
{
    if (length <= limit)
        return length;
    size_t at = 0;
    for (size_t next; at < limit && (next = at + CharSize(text, length, at, lead)) <= limit;)
        at = next;
    return at;
}

size_t CopyCharPrefix(char* out, size_t outSize, const char* text, size_t length, const LeadBytes& lead)
{
    if (!out || outSize == 0)
        return 0;
    size_t n = text ? CharPrefixLength(text, length, outSize - 1, lead) : 0;
    if (n)
        memmove(out, text, n);
    out[n] = '\0';
    return n;
}

size_t FindFirstChar(const char* text, size_t length, char c, const LeadBytes& lead)
{
    for (size_t at = 0; at < length; at += CharSize(text, length, at, lead)) {
        if (text[at] == c)
            return at;
    }
    return kNoMatch;
}

size_t FindLastChar(const char* text, size_t length, char c, const LeadBytes& lead)
{
    size_t found = kNoMatch;
    for (size_t at = 0; at < length; at += CharSize(text, length, at, lead)) {
        if (text[at] == c)
            found = at;
    }
    return found;
}

size_t FindCharText(const char* text, size_t length, const char* needle, const LeadBytes& lead)
{
    const size_t n = strlen(needle);
    for (size_t at = 0; at + n <= length; at += CharSize(text, length, at, lead)) {
        if (memcmp(text + at, needle, n) == 0)
            return at;
    }
    return kNoMatch;
}
