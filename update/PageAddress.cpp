// PageAddress.cpp: web page addresses.
#include "update/PageAddress.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != *prefix)
            return false;
    }
    return true;
}

}  // namespace

bool IsWebPageAddress(const char* address)
{
    if (!address)
        return false;
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}
