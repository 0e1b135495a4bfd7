// UpdateResponse.cpp: reading the update server's answer to one query.
#include "update/UpdateResponse.h"

#include <cctype>
#include <cstring>

long ResponseReadSize(const char* contentLength)
{
    if (!contentLength)
        return kDefaultResponseSize;
    const char* p = contentLength;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (!isdigit(static_cast<unsigned char>(*p)))
        return kDefaultResponseSize;
    long long value = 0;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + (*p - '0');
        if (value > kMaxResponseSize)
            return negative ? kDefaultResponseSize : -1;
    }
    if (negative && value != 0)
        return kDefaultResponseSize;
    return static_cast<long>(value);
}

namespace {

// The text between the next "string" after from (7 characters on) and the next
// "</string>"; false when either is missing or the value does not fit out.
bool TakeStringValue(const char* from, char* out, size_t outSize, const char** end)
{
    const char* tag = strstr(from, "string");
    if (!tag)
        return false;
    // "string>" is seven characters; a text that ends inside them has no value.
    if (strnlen(tag, 7) < 7)
        return false;
    const char* start = tag + 7;
    const char* close = strstr(start, "</string>");
    if (!close)
        return false;
    size_t length = static_cast<size_t>(close - start);
    if (length >= outSize)
        return false;
    memcpy(out, start, length);
    out[length] = '\0';
    *end = close;
    return true;
}

// Digits and dots, starting and ending with a digit.
bool IsDottedDecimal(const char* text)
{
    if (!isdigit(static_cast<unsigned char>(text[0])))
        return false;
    size_t length = 0;
    for (; text[length]; ++length) {
        if (!isdigit(static_cast<unsigned char>(text[length])) && text[length] != '.')
            return false;
    }
    return isdigit(static_cast<unsigned char>(text[length - 1])) != 0;
}

}  // namespace

bool IsFaultResponse(const char* text)
{
    return text && strstr(text, "<fault>");
}

bool ParseUpdateResponse(const char* text, char (&latestVersion)[kLatestVersionSize],
                         char (&pageAddress)[kPageAddressSize])
{
    memset(latestVersion, 0, sizeof(latestVersion));
    memset(pageAddress, 0, sizeof(pageAddress));
    if (!text || IsFaultResponse(text))
        return false;
    const char* field = strstr(text, "CurrentVersion");
    if (!field)
        return false;
    const char* versionEnd = nullptr;
    // A version that is not dotted decimal is no answer: it is neither stored nor shown.
    if (!TakeStringValue(field, latestVersion, sizeof(latestVersion), &versionEnd) ||
        !IsDottedDecimal(latestVersion)) {
        memset(latestVersion, 0, sizeof(latestVersion));
        return false;
    }
    const char* url = strstr(versionEnd, "ProductURL");
    if (!url)
        return true;
    const char* urlEnd = nullptr;
    if (!TakeStringValue(url, pageAddress, sizeof(pageAddress), &urlEnd)) {
        memset(latestVersion, 0, sizeof(latestVersion));
        memset(pageAddress, 0, sizeof(pageAddress));
        return false;
    }
    return true;
}
