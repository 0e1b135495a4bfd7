// PageAddress.cpp: web page addresses.
#include "update/PageAddress.h"
#include "framework/AsciiCase.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        if (AsciiLower(*text) != *prefix)
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
