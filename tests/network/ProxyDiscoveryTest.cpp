// ProxyDiscoveryTest.cpp: the proxy choice for each kind of default browser, read from
// real associations, shell folders and profile files.
#include "tests/network/NetworkFixtures.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include "update/ProxyDiscovery.h"

#include <gtest/gtest.h>

#include <wininet.h>

#include <cstring>
#include <memory>

namespace {

const char kPrefsWithProxy[] =
    "// Mozilla User Preferences\n"
    "user_pref(\"browser.startup.homepage\", \"about:blank\");\n"
    "user_pref(\"network.proxy.http\", \"proxy.example\");\n"
    "user_pref(\"network.proxy.http_port\", 8080);\n"
    "user_pref(\"network.proxy.type\", 1);\n";

class ProxyDiscoveryTest : public ::testing::Test {
protected:
    // Runs discovery with a progress window; records what it reported.
    bool Discover(ProxyChoice& choice)
    {
        ProgressProbe probe;
        if (m_bCancelFirst)
            probe.PressCancel();
        bool result = DiscoverProxy(probe.Dialog(), choice);
        m_positions = probe.positions;
        return result;
    }
    void ExpectPreconfigured(const ProxyChoice& choice)
    {
        EXPECT_STREQ("Vantorix exe", choice.agentName);
        EXPECT_EQ((unsigned long)INTERNET_OPEN_TYPE_PRECONFIG, choice.accessType);
        EXPECT_FALSE(choice.hasProxyText);
        EXPECT_FALSE(choice.profileSearched);
        EXPECT_EQ(std::vector<int>({20}), m_positions);
    }
    void ExpectNamed(const ProxyChoice& choice, const std::string& text, bool searched)
    {
        EXPECT_STREQ("Orrin exe", choice.agentName);
        EXPECT_EQ((unsigned long)INTERNET_OPEN_TYPE_PROXY, choice.accessType);
        EXPECT_TRUE(choice.hasProxyText);
        EXPECT_EQ(text, choice.proxyText);
        EXPECT_EQ(searched, choice.profileSearched);
        EXPECT_EQ(searched ? std::vector<int>({20, 30}) : std::vector<int>({20}), m_positions);
    }
    std::string Program(const std::string& name)
    {
        return ScopedBrowser::MakeProgram(MakeTempDir("browser"), name);
    }

    std::vector<int> m_positions;
    bool m_bCancelFirst = false;
};

}  // namespace

TEST_F(ProxyDiscoveryTest, InternetExplorerFamilyUsesPreconfiguredAccess)
{
    for (const char* name : {"iexplore.exe", "IEXPLORE.EXE", "myie.exe", "MyIE.exe"}) {
        SCOPED_TRACE(name);
        ScopedBrowser browser(ScopedBrowser::CommandFor(Program(name)));
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectPreconfigured(choice);
    }
}

TEST_F(ProxyDiscoveryTest, NoAssociationUsesPreconfiguredAccess)
{
    {
        ScopedBrowser browser("");
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectPreconfigured(choice);
    }
    {
        // A command whose program does not exist finds no browser either.
        ScopedBrowser browser("\"C:\\no such folder\\firefox.exe\" \"%1\"");
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectPreconfigured(choice);
    }
}

TEST_F(ProxyDiscoveryTest, OtherBrowserNamesAnEmptyProxy)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(Program("chrome.exe")));
    ProxyChoice choice;
    ASSERT_TRUE(Discover(choice));
    ExpectNamed(choice, "http://", false);
}

TEST_F(ProxyDiscoveryTest, PrefixFirefoxProfileNamesTheLocalServer)
{
    // The prefix's own default browser and profile, as its preparation left them.
    ProxyChoice choice;
    ASSERT_TRUE(Discover(choice));
    ExpectNamed(choice, "http://" + UpdateServer::Address(), true);
}

TEST_F(ProxyDiscoveryTest, FirefoxProfileVariants)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(Program("firefox.exe")));
    struct Case {
        const char* what;
        const char* prefs;  // null: no profile folder at all
        const char* proxy;
    } cases[] = {
        {"host and port", kPrefsWithProxy, "http://proxy.example:8080"},
        {"host alone", "user_pref(\"network.proxy.http\", \"solo.example\");\n", "http://solo.example"},
        {"no proxy entry", "user_pref(\"network.proxy.type\", 0);\n", ""},
        {"no profile", nullptr, "http://"},
        {"host without its quote", "user_pref(\"network.proxy.http\", \"open.example);\n", "http://"},
        {"host over 50 characters",
         "user_pref(\"network.proxy.http\", \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\");\n",
         "http://"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedAppData appData;
        if (c.prefs)
            ScopedAppData::WriteFile(appData.Folder() + "\\Mozilla\\Firefox\\Profiles\\abc.default\\prefs.js", c.prefs);
        else
            ScopedAppData::WriteFile(appData.Folder() + "\\Mozilla\\Firefox\\Profiles\\readme.txt", "not a profile");
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, c.proxy, true);
    }
}

TEST_F(ProxyDiscoveryTest, OnlyTheFirstProfileDirectoryIsRead)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(Program("firefox.exe")));
    ScopedAppData appData;
    std::string profiles = appData.Folder() + "\\Mozilla\\Firefox\\Profiles\\";
    ScopedAppData::WriteFile(profiles + "0-notes.txt", "a file, not a profile");
    ScopedAppData::WriteFile(profiles + "one.default\\prefs.js", "user_pref(\"network.proxy.http\", \"one\");");
    ScopedAppData::WriteFile(profiles + "two.default\\prefs.js", "user_pref(\"network.proxy.http\", \"two\");");
    ScopedAppData::WriteFile(profiles + "three.default\\prefs.js", "user_pref(\"network.proxy.http\", \"three\");");

    // The order is the directory search's own.
    std::string first;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((profiles + "*.*").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        std::string name = data.cFileName;
        if (name != "." && name != ".." && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            first = name.substr(0, name.find('.'));
            break;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    ASSERT_FALSE(first.empty());

    ProxyChoice choice;
    ASSERT_TRUE(Discover(choice));
    ExpectNamed(choice, "http://" + first, true);
}

TEST_F(ProxyDiscoveryTest, MozillaProfileUnderDefault)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(Program("Mozilla.exe")));
    ScopedAppData appData;
    ScopedAppData::WriteFile(appData.Folder() + "\\Mozilla\\Profiles\\default\\x1y2.slt\\prefs.js", kPrefsWithProxy);
    ProxyChoice choice;
    ASSERT_TRUE(Discover(choice));
    ExpectNamed(choice, "http://proxy.example:8080", true);
}

TEST_F(ProxyDiscoveryTest, NetscapeProfileBesideTheProgram)
{
    std::string root = MakeTempDir("netscape");
    std::string program = ScopedBrowser::MakeProgram(root + "Netscape", "netscape.exe");
    ScopedAppData::WriteFile(root + "Netscape\\Users\\default\\prof\\prefs.js", kPrefsWithProxy);
    {
        ScopedBrowser browser(ScopedBrowser::CommandFor(program));
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, "http://proxy.example:8080", true);
    }
    {
        // "Netscape" is looked for with its letter case: no folder, no profile.
        std::string other = ScopedBrowser::MakeProgram(root + "navigator", "netscape.exe");
        ScopedAppData::WriteFile(root + "navigator\\Users\\default\\prof\\prefs.js", kPrefsWithProxy);
        ScopedBrowser browser(ScopedBrowser::CommandFor(other));
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, "http://", true);
    }
}

TEST_F(ProxyDiscoveryTest, OperaIniProxyServer)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(Program("opera.exe")));
    {
        ScopedAppData appData;
        ScopedAppData::WriteFile(appData.Folder() + "\\Opera\\Opera\\profile\\opera6.ini",
                                 "[User Prefs]\r\nLanguage=en\r\n[Proxy]\r\nHTTP Server=proxy.example:3128\r\n"
                                 "Use HTTP=1\r\n");
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, "http://proxy.example:3128", true);
    }
    {
        ScopedAppData appData;
        ScopedAppData::WriteFile(appData.Folder() + "\\Opera\\Opera\\profile\\opera6.ini", "[Proxy]\r\nUse HTTP=0\r\n");
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, "http://", true);
    }
    {
        ScopedAppData appData;
        ProxyChoice choice;
        ASSERT_TRUE(Discover(choice));
        ExpectNamed(choice, "http://", true);
    }
}

TEST_F(ProxyDiscoveryTest, CancelledAtTheFirstReport)
{
    m_bCancelFirst = true;
    ProxyChoice choice;
    EXPECT_FALSE(Discover(choice));
    EXPECT_EQ(std::vector<int>({20}), m_positions);
}

// The machine-wide WinHTTP setting in one registry view; empty removes it.
static void SetWinHttpSettings(REGSAM view, const std::string& data)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections",
                        0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (data.empty())
        RegDeleteValueA(key, "WinHttpSettings");
    else
        RegSetValueExA(key, "WinHttpSettings", 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                       (DWORD)data.size());
    RegCloseKey(key);
}

TEST_F(ProxyDiscoveryTest, ScriptedRunsTakeTheNamedOrTheMachineWideProxy)
{
    const char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    const std::string machine = WinHttpSettings(3, "machine.corp:3128", "<local>;*.example");
    const std::string machine64 = WinHttpSettings(3, "machine64.corp:8080", "");
    const std::string direct = WinHttpSettings(1, "", "");
    const struct {
        const char* what;
        ProxyRule::Kind kind;
        const char* browser;     // the default browser's program; firefox.exe is the prefix's profile
        std::string winHttp;     // the machine-wide setting in the 32-bit view; empty for none
        const char* userProxy;   // the account's own ProxyServer, enabled; empty for none
        const char* autoConfig;  // the account's own AutoConfigURL; empty for none
        const char* agent;
        unsigned long access;
        std::string text;        // the proxy text; empty for none
        std::string winHttp64 = "";  // the machine-wide setting in the 64-bit view; empty for none
    } rows[] = {
        {"named", ProxyRule::kNamed, "iexplore.exe", machine, "", "", "Orrin exe", INTERNET_OPEN_TYPE_PROXY,
         "http://10.1.2.3:8080"},
        {"direct", ProxyRule::kDirect, "firefox.exe", machine, "", "", "Vantorix exe", INTERNET_OPEN_TYPE_DIRECT,
         ""},
        {"machine", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128"},
        {"other browser", ProxyRule::kBrowserOrMachine, "chrome.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128"},
        {"bypassed", ProxyRule::kBrowserOrMachine, "iexplore.exe",
         WinHttpSettings(3, "machine.corp:3128", "intranet;*.NORVANE.com"), "", "", "Vantorix exe",
         INTERNET_OPEN_TYPE_PRECONFIG, ""},
        {"machine direct", ProxyRule::kBrowserOrMachine, "iexplore.exe", WinHttpSettings(1, "machine.corp:3128", ""), "", "",
         "Vantorix exe", INTERNET_OPEN_TYPE_PRECONFIG, ""},
        {"account proxy", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "user.corp:80", "", "Vantorix exe",
         INTERNET_OPEN_TYPE_PRECONFIG, ""},
        {"account script", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "", "http://wpad/proxy.pac",
         "Vantorix exe", INTERNET_OPEN_TYPE_PRECONFIG, ""},
        {"browser proxy", ProxyRule::kBrowserOrMachine, "firefox.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "http://" + UpdateServer::Address()},
        {"window", ProxyRule::kBrowser, "iexplore.exe", machine, "", "", "Vantorix exe", INTERNET_OPEN_TYPE_PRECONFIG,
         ""},
        {"no machine proxy", ProxyRule::kBrowserOrMachine, "iexplore.exe", "", "", "", "Vantorix exe",
         INTERNET_OPEN_TYPE_PRECONFIG, ""},
        // As netsh keeps what was typed: a per-scheme list's http= entry, a host alone.
        {"machine list", ProxyRule::kBrowserOrMachine, "iexplore.exe",
         WinHttpSettings(3, "https=machine.corp:3129;http=machine.corp:3128", "<local>"), "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128"},
        {"machine list without http", ProxyRule::kBrowserOrMachine, "iexplore.exe",
         WinHttpSettings(3, "https=machine.corp:3129", ""), "", "", "Vantorix exe", INTERNET_OPEN_TYPE_PRECONFIG, ""},
        {"machine host alone", ProxyRule::kBrowserOrMachine, "iexplore.exe", WinHttpSettings(3, "http://machine.corp/", ""),
         "", "", "Orrin exe", INTERNET_OPEN_TYPE_PROXY, "machine.corp"},
        // A proxy named in either view beats "direct" in the other; both named: the 64-bit one.
        {"64-bit direct", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128", direct},
        {"32-bit direct", ProxyRule::kBrowserOrMachine, "iexplore.exe", direct, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine64.corp:8080", machine64},
        {"both named", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine64.corp:8080", machine64},
        {"both direct", ProxyRule::kBrowserOrMachine, "iexplore.exe", direct, "", "", "Vantorix exe",
         INTERNET_OPEN_TYPE_PRECONFIG, "", direct},
        // A list of proxies takes the first; a 64-bit setting that names none usable leaves
        // the 32-bit one to count.
        {"machine proxies", ProxyRule::kBrowserOrMachine, "iexplore.exe",
         WinHttpSettings(3, "https=s.corp:1 machine.corp:3128;m2.corp:1", ""), "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128"},
        {"64-bit unusable", ProxyRule::kBrowserOrMachine, "iexplore.exe", machine, "", "", "Orrin exe",
         INTERNET_OPEN_TYPE_PROXY, "machine.corp:3128", WinHttpSettings(3, "https=s.corp:1", "")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<ScopedBrowser> browser;
        if (strcmp(row.browser, "firefox.exe") != 0)
            browser.reset(new ScopedBrowser(ScopedBrowser::CommandFor(Program(row.browser))));
        ScopedSystemProxy account(row.userProxy);
        if (*row.autoConfig)
            SetStringValue(HKEY_CURRENT_USER, kSettings, "AutoConfigURL", row.autoConfig);
        SetWinHttpSettings(KEY_WOW64_32KEY, row.winHttp);
        SetWinHttpSettings(KEY_WOW64_64KEY, row.winHttp64);
        ProxyRule rule;
        rule.kind = row.kind;
        rule.address = "10.1.2.3:8080";
        ProxyChoice choice;
        ProgressProbe probe;
        EXPECT_TRUE(ChooseProxy(probe.Dialog(), rule, choice));
        EXPECT_STREQ(row.agent, choice.agentName);
        EXPECT_EQ(row.access, choice.accessType);
        EXPECT_EQ(!row.text.empty(), choice.hasProxyText);
        if (choice.hasProxyText) {
            EXPECT_EQ(row.text, choice.proxyText);
        }

        SetWinHttpSettings(KEY_WOW64_32KEY, "");
        SetWinHttpSettings(KEY_WOW64_64KEY, "");
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "AutoConfigURL");
            RegCloseKey(key);
        }
    }
}
