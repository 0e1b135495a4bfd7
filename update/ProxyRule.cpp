// ProxyRule.cpp: proxy addresses named on the command line.
#include "update/ProxyRule.h"
#include "framework/AsciiCase.h"

#include <algorithm>

bool IsProxyAddress(const std::string& text)
{
    // The port follows the last ':', so that a bracketed IPv6 host keeps its own.
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || text.find_first_of(" \t") != std::string::npos)
        return false;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

namespace {

const unsigned long kNamedProxyFlag = 2;

unsigned long Word(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((unsigned long)p[3] << 24);
}

// A length-prefixed text at offset, which moves past it.
bool TakeText(const unsigned char* data, size_t size, size_t& offset, std::string& text)
{
    if (size - offset < 4)
        return false;
    const unsigned long length = Word(data + offset);
    offset += 4;
    if (length > size - offset)
        return false;
    // A text ends at its first NUL, if it holds one.
    const char* start = reinterpret_cast<const char*>(data + offset);
    text.assign(start, std::find(start, start + length, '\0'));
    offset += length;
    return true;
}

// Pattern with '*' against text, letter case ignored: each '*' takes as little as it
// can, and more only when the rest does not match.
bool Matches(const char* pattern, const char* text)
{
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern && AsciiLower(*pattern) == AsciiLower(*text)) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

}  // namespace

bool ParseWinHttpSettings(const unsigned char* data, size_t size, std::string& proxy, std::string& bypass)
{
    proxy.clear();
    bypass.clear();
    if (!data || size < 12 || !(Word(data + 8) & kNamedProxyFlag))
        return false;
    size_t offset = 12;
    if (!TakeText(data, size, offset, proxy) || !TakeText(data, size, offset, bypass)) {
        proxy.clear();
        bypass.clear();
        return false;
    }
    return !proxy.empty();
}

bool BypassListHolds(const std::string& list, const std::string& host)
{
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find_first_of("; \t", start);
        if (end == std::string::npos)
            end = list.size();
        const std::string entry = list.substr(start, end - start);
        start = end + 1;
        if (entry.empty())
            continue;
        if (entry == "<local>" ? host.find('.') == std::string::npos : Matches(entry.c_str(), host.c_str()))
            return true;
    }
    return false;
}
