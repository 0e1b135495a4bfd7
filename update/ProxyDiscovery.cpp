// ProxyDiscovery.cpp: the proxy choice of the update query, from the default browser's
// association and profile files.
#include "update/ProxyDiscovery.h"

#include "framework/AnsiCodePage.h"
#include "framework/Handles.h"
#include "update/PrefsJs.h"
#include "update/Progress.h"
#include "update/UpdateQuery.h"

#include <windows.h>
#include <wininet.h>
#include <shlwapi.h>
#include <mbstring.h>

#include <cstring>
#include <vector>

namespace {

const char kPreconfiguredAgent[] = "Vantorix exe";
const char kProxyAgent[] = "Orrin exe";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kConnections[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
// prefs.js beyond this is no profile of a browser.
const DWORD kMaxPrefsSize = 16 * 1024 * 1024;

enum class Browser { kPreconfigured, kMozillaFamily, kOpera, kOther };

// A directory search, closed on every way out.
class CFileFind {
public:
    CFileFind() : m_h(INVALID_HANDLE_VALUE), m_data() {}
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    bool FindFirst(const std::string& pattern)
    {
        Close();
        m_h = ::FindFirstFileA(pattern.c_str(), &m_data);
        return m_h != INVALID_HANDLE_VALUE;
    }
    bool FindNext() { return m_h != INVALID_HANDLE_VALUE && ::FindNextFileA(m_h, &m_data); }
    void Close()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::FindClose(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }
    const char* Name() const { return m_data.cFileName; }
    bool IsDots() const { return strcmp(Name(), ".") == 0 || strcmp(Name(), "..") == 0; }
    bool IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    HANDLE m_h;
    WIN32_FIND_DATAA m_data;
};

// The folder part of a search pattern, with its trailing '\'.
std::string PatternFolder(const std::string& pattern)
{
    size_t slash = FindLastChar(pattern.data(), pattern.size(), '\\', AnsiLeadBytes());
    return slash == kNoMatch ? std::string() : pattern.substr(0, slash + 1);
}

// The full path of the first entry of pattern other than "." and ".." (and, when
// directoriesOnly, the first directory); empty when there is none.
std::string FirstEntry(const std::string& pattern, bool directoriesOnly)
{
    CFileFind find;
    for (bool more = find.FindFirst(pattern); more; more = find.FindNext()) {
        if (find.IsDots() || (directoriesOnly && !find.IsDirectory()))
            continue;
        return PatternFolder(pattern) + find.Name();
    }
    return std::string();
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    CWinHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    DWORD high = 0;
    DWORD size = ::GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kMaxPrefsSize)
        return false;
    text.assign(size, '\0');
    DWORD read = 0;
    if (size && !::ReadFile(file, &text[0], size, &read, nullptr))
        return false;
    text.resize(read);
    return true;
}

std::string ReadAppDataFolder()
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kShellFolders) != ERROR_SUCCESS)
        return std::string();
    char folder[256] = {};
    // One byte short of the buffer, so that the text always ends inside it.
    DWORD size = sizeof(folder) - 1;
    if (::RegQueryValueExA(key, "AppData", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size) != ERROR_SUCCESS)
        return std::string();
    return folder;
}

// File names compare without regard to letter case, multibyte-aware.
bool SameFileName(const std::string& fileName, const char* name)
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(fileName.c_str()),
                    reinterpret_cast<const unsigned char*>(name)) == 0;
}

Browser ClassifyBrowser(const std::string& fileName)
{
    auto is = [&fileName](const char* name) { return SameFileName(fileName, name); };
    if (fileName.empty() || is("iexplore.exe") || is("myie.exe"))
        return Browser::kPreconfigured;
    if (is("mozilla.exe") || is("firefox.exe") || is("netscape.exe"))
        return Browser::kMozillaFamily;
    if (is("opera.exe"))
        return Browser::kOpera;
    return Browser::kOther;
}

// The search pattern of a Mozilla-family profile folder; empty when there is none.
std::string MozillaPattern(const std::string& fileName, const std::string& browserPath, const std::string& appData)
{
    auto is = [&fileName](const char* name) { return SameFileName(fileName, name); };
    if (is("mozilla.exe"))
        return appData + "\\Mozilla\\Profiles\\default\\*.*";
    if (is("firefox.exe"))
        return appData + "\\Mozilla\\Firefox\\Profiles\\*.*";
    std::string folder;
    if (!NetscapeFolder(browserPath, folder, AnsiLeadBytes()))
        return std::string();
    return folder + "Users\\default\\*.*";
}

// Appends the proxy of the first profile under pattern to proxyText ("http://").
void ReadMozillaProxy(const std::string& pattern, std::string& proxyText)
{
    if (pattern.empty())
        return;
    std::string profile = FirstEntry(pattern, true);
    if (profile.empty())
        return;
    std::string prefs;
    if (!ReadWholeFile(profile + "\\prefs.js", prefs))
        return;
    std::string host, port;
    switch (ParsePrefsProxy(prefs, host, port)) {
    case PrefsProxy::kNone:
        proxyText.clear();
        break;
    case PrefsProxy::kUnusable:
        break;
    case PrefsProxy::kFound:
        proxyText += host;
        if (!port.empty())
            proxyText += ":" + port;
        break;
    }
}

void ReadOperaProxy(const std::string& appData, std::string& proxyText)
{
    std::string ini = FirstEntry(appData + "\\Opera\\Opera\\profile\\opera*.ini", false);
    if (ini.empty())
        return;
    char server[256] = {};
    ::GetPrivateProfileStringA("Proxy", "HTTP Server", "", server, sizeof(server), ini.c_str());
    proxyText += server;
}

// Whether InternetOpenA would take the preconfigured settings for choice.
bool GoesPreconfigured(const ProxyChoice& choice)
{
    return choice.accessType == INTERNET_OPEN_TYPE_PRECONFIG ||
           (choice.hasProxyText && !ProxyTextHasHost(choice.proxyText));
}

std::string ReadText(HKEY key, const char* name)
{
    char text[1024] = {};
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    return text;
}

// Whether the account's own Internet settings go direct: no proxy enabled and no
// configuration script.
bool AccountSettingsGoDirect()
{
    CRegKey key;
    if (key.OpenEx(HKEY_CURRENT_USER, kInternetSettings, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return true;
    DWORD enabled = 0;
    DWORD size = sizeof(enabled);
    DWORD type = 0;
    const bool proxyEnabled = ::RegQueryValueExA(key, "ProxyEnable", nullptr, &type,
                                                 reinterpret_cast<BYTE*>(&enabled), &size) == ERROR_SUCCESS &&
                              type == REG_DWORD && enabled != 0 && !ReadText(key, "ProxyServer").empty();
    return !proxyEnabled && ReadText(key, "AutoConfigURL").empty();
}

// The machine-wide WinHTTP proxy. On 64-bit Windows the 64-bit netsh writes the 64-bit
// registry view, which a 32-bit program does not see by default, and the 32-bit netsh
// (which 32-bit WinHTTP clients follow) the 32-bit view. A proxy named in either view
// wins over "direct" (or a setting that names none usable) in the other; where both name
// one, the 64-bit view's. netsh keeps the setting as it was typed: a per-scheme list
// gives its http= entry, and one without it names no proxy for the update server.
bool ReadMachineProxy(std::string& address, std::string& bypass)
{
    std::string proxy;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        CRegKey key;
        if (key.OpenEx(HKEY_LOCAL_MACHINE, kConnections, KEY_QUERY_VALUE | view) != ERROR_SUCCESS)
            continue;
        DWORD size = 0;
        DWORD type = 0;
        if (::RegQueryValueExA(key, "WinHttpSettings", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_BINARY)
            continue;
        std::vector<unsigned char> data(size ? size : 1);
        if (::RegQueryValueExA(key, "WinHttpSettings", nullptr, nullptr, data.data(), &size) == ERROR_SUCCESS &&
            ParseWinHttpSettings(data.data(), size, proxy, bypass) && ReadProxyAddress(proxy, address, true))
            return true;
    }
    return false;
}

}  // namespace

bool ChooseProxy(IProgress& progress, const ProxyRule& rule, ProxyChoice& choice)
{
    if (rule.kind == ProxyRule::kNamed || rule.kind == ProxyRule::kDirect) {
        choice = ProxyChoice();
        if (rule.kind == ProxyRule::kNamed) {
            choice.agentName = kProxyAgent;
            choice.accessType = INTERNET_OPEN_TYPE_PROXY;
            choice.hasProxyText = true;
            choice.proxyText = "http://" + rule.address;
        } else {
            choice.agentName = kPreconfiguredAgent;
            choice.accessType = INTERNET_OPEN_TYPE_DIRECT;
        }
        return !progress.SetProgress(20);
    }
    if (!DiscoverProxy(progress, choice))
        return false;
    std::string address, bypass;
    if (rule.kind == ProxyRule::kBrowserOrMachine && GoesPreconfigured(choice) && AccountSettingsGoDirect() &&
        ReadMachineProxy(address, bypass) && !BypassListHolds(bypass, kUpdateServerHost)) {
        choice.agentName = kProxyAgent;
        choice.accessType = INTERNET_OPEN_TYPE_PROXY;
        choice.hasProxyText = true;
        choice.proxyText = address;
    }
    return true;
}

bool DiscoverProxy(IProgress& progress, ProxyChoice& choice)
{
    choice = ProxyChoice();
    char browserPath[256] = {};
    DWORD length = sizeof(browserPath);
    if (FAILED(::AssocQueryStringA(0, ASSOCSTR_EXECUTABLE, "http", "open", browserPath, &length)))
        browserPath[0] = '\0';
    browserPath[sizeof(browserPath) - 1] = '\0';
    std::string fileName = BrowserFileName(browserPath, AnsiLeadBytes());

    if (progress.SetProgress(20))
        return false;

    Browser browser = ClassifyBrowser(fileName);
    if (browser == Browser::kPreconfigured) {
        choice.agentName = kPreconfiguredAgent;
        choice.accessType = INTERNET_OPEN_TYPE_PRECONFIG;
        return true;
    }

    choice.agentName = kProxyAgent;
    choice.accessType = INTERNET_OPEN_TYPE_PROXY;
    choice.hasProxyText = true;
    choice.proxyText = "http://";
    std::string appData = ReadAppDataFolder();
    if (browser == Browser::kOther)
        return true;

    if (browser == Browser::kMozillaFamily)
        ReadMozillaProxy(MozillaPattern(fileName, browserPath, appData), choice.proxyText);
    else
        ReadOperaProxy(appData, choice.proxyText);
    choice.profileSearched = true;
    return !progress.SetProgress(30);
}
