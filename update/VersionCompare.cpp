// VersionCompare.cpp: comparison of dotted version strings.
#include "update/VersionCompare.h"

#include <climits>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The number of the field starting at p, read as atoi reads it: leading white space,
// an optional sign, then digits up to the first non-digit ('.' and the NUL end it).
// Text without digits is 0; values beyond the int range saturate as strtol does.
long long FieldNumber(const char* p)
{
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= (long long)INT_MAX + 1)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return value;
}

// Advances p past the current field and its '.'; null once the string has no more
// fields. Bytes suffice: 0x2E is never the trail byte of a double-byte code page.
const char* NextField(const char* p)
{
    while (*p && *p != '.')
        ++p;
    return *p == '.' ? p + 1 : nullptr;
}

}  // namespace

bool CompareVersions(const char* installed, const char* candidate)
{
    if (!installed || !candidate || !*installed || !*candidate)
        return false;

    // A string that has run out of fields reads as 0 for each remaining field.
    const char* a = installed;
    const char* b = candidate;
    while (a || b) {
        long long x = a ? FieldNumber(a) : 0;
        long long y = b ? FieldNumber(b) : 0;
        if (x > y)
            return false;
        if (x < y)
            return true;
        if (a)
            a = NextField(a);
        if (b)
            b = NextField(b);
    }
    return false;
}
