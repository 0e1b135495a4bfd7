// PrefsJs.cpp: the HTTP proxy of a Mozilla-family "prefs.js" and the path texts of
// proxy discovery.
#include "update/PrefsJs.h"

#include <cstring>

namespace {

// The text from offset skip past the start of found up to the next stop character;
// false when the text ends first or the value is longer than kProxyFieldMax.
bool TakeField(const std::string& prefs, size_t found, size_t skip, char stop, std::string& value)
{
    size_t start = found + skip;
    if (start > prefs.size())
        return false;
    size_t end = prefs.find(stop, start);
    if (end == std::string::npos || end - start > kProxyFieldMax)
        return false;
    value = prefs.substr(start, end - start);
    return true;
}

}  // namespace

PrefsProxy ParsePrefsProxy(const std::string& prefs, std::string& host, std::string& port)
{
    host.clear();
    port.clear();
    // The file is read as text up to its first NUL.
    std::string text(prefs.c_str());
    size_t entry = text.find("network.proxy.http");
    if (entry == std::string::npos)
        return PrefsProxy::kNone;
    if (!TakeField(text, entry, 22, '"', host)) {
        host.clear();
        return PrefsProxy::kUnusable;
    }
    size_t portEntry = text.find("network.proxy.http_port");
    if (portEntry != std::string::npos && !TakeField(text, portEntry, 26, ')', port)) {
        host.clear();
        port.clear();
        return PrefsProxy::kUnusable;
    }
    return PrefsProxy::kFound;
}

std::string BrowserFileName(const std::string& browserPath, const LeadBytes& lead)
{
    size_t slash = FindLastChar(browserPath.data(), browserPath.size(), '\\', lead);
    return slash == kNoMatch ? browserPath : browserPath.substr(slash + 1);
}

bool NetscapeFolder(const std::string& browserPath, std::string& folder, const LeadBytes& lead)
{
    folder.clear();
    const char* path = browserPath.data();
    const size_t size = browserPath.size();
    size_t end = FindCharText(path, size, "Netscape", lead);
    if (end == kNoMatch)
        return false;
    end += 8;
    if (end < size)
        end += CharSize(path, size, end, lead);
    folder = browserPath.substr(0, end);
    return true;
}

bool ProxyTextHasHost(const std::string& proxyText)
{
    const char scheme[] = "http://";
    size_t start = proxyText.compare(0, strlen(scheme), scheme) == 0 ? strlen(scheme) : 0;
    size_t end = proxyText.find_first_of(":/", start);
    if (end == std::string::npos)
        end = proxyText.size();
    return end > start;
}
