// ProxyRule.cpp: proxy addresses as administrators write them, and the machine-wide
// WinHTTP setting.
#include "update/ProxyRule.h"
#include "framework/AsciiCase.h"

#include <algorithm>

namespace {

bool IsHostNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

// A proxy is printable ASCII: checked first, so that the searches below never meet a
// byte of a double-byte character.
bool IsPrintableAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

// A host name, or an IPv6 address in brackets.
bool IsHost(const std::string& host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return host.find(':') != std::string::npos &&
               host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
    return !host.empty() && std::all_of(host.begin(), host.end(), IsHostNameChar);
}

bool IsPort(const std::string& port)
{
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

// HOST:PORT, or HOST alone when portOptional. The port follows the host, so a bracketed
// IPv6 host keeps its own colons.
bool IsAddress(const std::string& text, bool portOptional)
{
    const size_t hostEnd = !text.empty() && text[0] == '[' ? text.find(']') + 1 : text.find(':');
    if (hostEnd == 0 || hostEnd >= text.size())
        return portOptional && IsHost(text);
    return IsHost(text.substr(0, hostEnd)) && text[hostEnd] == ':' && IsPort(text.substr(hostEnd + 1));
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (i == text.size() || AsciiLower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

}  // namespace

bool ReadProxyAddress(const std::string& text, std::string& address, bool portOptional)
{
    if (!IsPrintableAscii(text))
        return false;
    std::string value = text;
    if (text.find_first_of("=; \t") != std::string::npos) {
        // A list: its first http= entry, else its first entry without a scheme, which
        // serves every scheme as WinHTTP takes it; or nothing.
        std::string plain;
        bool named = false;
        for (size_t start = 0; !named && start < text.size();) {
            size_t end = text.find_first_of("; \t", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string entry = text.substr(start, end - start);
            named = StartsWithNoCase(entry, "http=");
            if (named)
                value = entry.substr(5);
            else if (plain.empty() && entry.find('=') == std::string::npos)
                plain = entry;
            start = end + 1;
        }
        if (!named)
            value = plain;  // empty when the list names none: no address
    }
    if (StartsWithNoCase(value, "http://")) {
        value.erase(0, 7);
        if (!value.empty() && value.back() == '/')
            value.pop_back();
    }
    if (!IsAddress(value, portOptional))
        return false;
    address = value;
    return true;
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
