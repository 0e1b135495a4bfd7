// UpdateTextTest.cpp: the request body, the response reading and prefs.js parsing,
// called directly.
#include "tests/network/NetworkFixtures.h"
#include "update/PrefsJs.h"
#include "update/ProxyRule.h"
#include "framework/AnsiCodePage.h"
#include "update/UpdateRequest.h"
#include "update/UpdateResponse.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kBodyForA[] =
    "<?xml version= \"1.0\" ?>\t<methodCall><methodName>vers.getLatestVersion</methodName><params><param>"
    "<value><array><data><value><string>A</string></value><value><string>1.0</string></value></data></array>"
    "</value></param><param><value>BortnelXMLRPCClient</value></param></params></methodCall>";

std::string Response(const std::string& members)
{
    return "<?xml version='1.0'?>\n<methodResponse>\n<params>\n<param>\n<value><struct>\n" + members +
           "</struct></value>\n</param>\n</params>\n</methodResponse>\n";
}

std::string Member(const char* name, const std::string& value)
{
    return std::string("<member>\n<name>") + name + "</name>\n<value><string>" + value +
           "</string></value>\n</member>\n";
}

}  // namespace

TEST(UpdateRequestBody, FillsTheCallForOnePackage)
{
    char body[kUpdateRequestSize];
    ASSERT_TRUE(FormatUpdateRequest("A", "1.0", body));
    EXPECT_STREQ(kBodyForA, body);
    EXPECT_EQ(kUpdateRequestFixedLength + 4, strlen(body));

    ASSERT_TRUE(FormatUpdateRequest("", "", body));
    EXPECT_EQ(kUpdateRequestFixedLength, strlen(body));

    ASSERT_TRUE(FormatUpdateRequest("R&D <beta>", "2", body));
    EXPECT_NE(nullptr, strstr(body, "<string>R&D <beta></string>"));
}

TEST(UpdateRequestBody, RefusesValuesBeyondTheBuffer)
{
    char body[kUpdateRequestSize];
    std::string name(700, 'n');
    ASSERT_TRUE(FormatUpdateRequest(name.c_str(), std::string(16, '1').c_str(), body));
    EXPECT_EQ(999u, strlen(body));

    EXPECT_FALSE(FormatUpdateRequest(name.c_str(), std::string(17, '1').c_str(), body));
    EXPECT_EQ('\0', body[0]);
    EXPECT_FALSE(FormatUpdateRequest(std::string(5000, 'x').c_str(), "1.0", body));
    EXPECT_FALSE(FormatUpdateRequest(nullptr, "1.0", body));
}

TEST(UpdateResponseText, TakesVersionAndAddress)
{
    char version[kLatestVersionSize];
    char address[kPageAddressSize];
    ASSERT_TRUE(ParseUpdateResponse(
        Response(Member("CurrentVersion", "2.1.0") + Member("ProductURL", "http://x/y")).c_str(), version, address));
    EXPECT_STREQ("2.1.0", version);
    EXPECT_STREQ("http://x/y", address);

    ASSERT_TRUE(ParseUpdateResponse(Response(Member("CurrentVersion", "3")).c_str(), version, address));
    EXPECT_STREQ("3", version);
    EXPECT_STREQ("", address);

    // An address named before the version is not looked for.
    ASSERT_TRUE(ParseUpdateResponse(
        Response(Member("ProductURL", "http://x/y") + Member("CurrentVersion", "4.0")).c_str(), version, address));
    EXPECT_STREQ("4.0", version);
    EXPECT_STREQ("", address);

    // Words and marks inside a value mean nothing: "fault" is no "<fault>".
    ASSERT_TRUE(ParseUpdateResponse(
        Response(Member("CurrentVersion", "5") + Member("ProductURL", "http://x/fault?CurrentVersion=string"))
            .c_str(),
        version, address));
    EXPECT_STREQ("5", version);
    EXPECT_STREQ("http://x/fault?CurrentVersion=string", address);
}

TEST(UpdateResponseText, RejectsFaultsAndMissingParts)
{
    char version[kLatestVersionSize];
    char address[kPageAddressSize];
    std::string valid = Response(Member("CurrentVersion", "2.0") + Member("ProductURL", "http://x"));
    EXPECT_FALSE(ParseUpdateResponse((valid + "<fault>").c_str(), version, address));
    // "<fault>" anywhere, a value's inside too.
    EXPECT_FALSE(ParseUpdateResponse(
        Response(Member("CurrentVersion", "2.0") + Member("ProductURL", "http://x/<fault>")).c_str(), version,
        address));
    EXPECT_FALSE(ParseUpdateResponse("", version, address));
    EXPECT_FALSE(ParseUpdateResponse(nullptr, version, address));
    EXPECT_FALSE(ParseUpdateResponse(Response(Member("Version", "2.0")).c_str(), version, address));
    EXPECT_FALSE(ParseUpdateResponse("CurrentVersion", version, address));
    EXPECT_FALSE(ParseUpdateResponse("CurrentVersion</name><value><string", version, address));
    EXPECT_FALSE(ParseUpdateResponse("CurrentVersion</name><value><string>2.0", version, address));
    EXPECT_FALSE(ParseUpdateResponse(
        (Response(Member("CurrentVersion", "2.0")) + "ProductURL <string>http://cut").c_str(), version, address));
    EXPECT_STREQ("", version);
}

TEST(UpdateResponseText, TakesOnlyDottedDecimalVersions)
{
    const struct {
        const char* version;
        bool taken;
    } rows[] = {
        {"0", true}, {"9.0.1", true}, {"1..2", true}, {"", false}, {".1", false}, {"1.", false},
        {"+9+cmd|' /C calc'!A0", false}, {"=1+1", false}, {"-1", false}, {"2.1beta", false}, {"2,1", false},
        {" 2.1", false}, {"2.1 ", false}, {"1/2", false}, {"1:2", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        char version[kLatestVersionSize];
        char address[kPageAddressSize];
        EXPECT_EQ(row.taken, ParseUpdateResponse(
                                 Response(Member("CurrentVersion", row.version) + Member("ProductURL", "http://x")).c_str(),
                                 version, address));
        EXPECT_STREQ(row.taken ? row.version : "", version);
        EXPECT_STREQ(row.taken ? "http://x" : "", address);
    }
}

TEST(MachineProxy, WinHttpSettingsAndTheBypassList)
{
    auto settings = [](unsigned flags, const std::string& proxy, const std::string& bypass, size_t cut = 0) {
        const std::string data = WinHttpSettings(flags, proxy, bypass);
        return data.substr(0, data.size() - cut);
    };
    const struct {
        std::string data;
        bool named;
        const char* proxy;
        const char* bypass;
    } rows[] = {
        {settings(3, "proxy.corp:3128", "<local>"), true, "proxy.corp:3128", "<local>"},
        {settings(3, "http=p:80;https=p:443", ""), true, "http=p:80;https=p:443", ""},
        {settings(1, "proxy.corp:3128", ""), false, "", ""},
        {settings(3, "", "<local>"), false, "", "<local>"},
        {settings(3, "proxy.corp:3128", "<local>", 1), false, "", ""},
        {settings(3, "proxy.corp:3128", "", 4), false, "", ""},
        {std::string(11, '\3'), false, "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.proxy);
        std::string proxy = "old", bypass = "old";
        EXPECT_EQ(row.named, ParseWinHttpSettings(reinterpret_cast<const unsigned char*>(row.data.data()),
                                                  row.data.size(), proxy, bypass));
        EXPECT_EQ(proxy, row.proxy);
        EXPECT_EQ(bypass, row.bypass);
    }

    const struct {
        const char* list;
        const char* host;
        bool holds;
    } bypass[] = {
        {"update.norvane.com", "update.norvane.com", true},
        {"*.NORVANE.com", "update.norvane.com", true},
        {"intranet;  *.norvane.*", "update.norvane.com", true},
        {"u*e.n*e.com", "update.norvane.com", true},
        {"<local>", "update.norvane.com", false},
        {"<local>", "intranet", true},
        {"norvane.com", "update.norvane.com", false},
        {"update.norvane.com.example;*.norvane.org", "update.norvane.com", false},
        {"update.norvane.co", "update.norvane.com", false},
        {";;", "update.norvane.com", false},
        {"", "update.norvane.com", false},
    };
    for (const auto& row : bypass) {
        SCOPED_TRACE(row.list);
        EXPECT_EQ(row.holds, BypassListHolds(row.list, row.host));
    }
}

TEST(UpdateResponseText, BoundsVersionAndAddress)
{
    char version[kLatestVersionSize];
    char address[kPageAddressSize];
    std::string url255 = "http://" + std::string(248, 'u');
    ASSERT_TRUE(ParseUpdateResponse(
        Response(Member("CurrentVersion", std::string(19, '9')) + Member("ProductURL", url255)).c_str(), version,
        address));
    EXPECT_EQ(std::string(19, '9'), version);
    EXPECT_EQ(url255, address);

    EXPECT_FALSE(ParseUpdateResponse(Response(Member("CurrentVersion", std::string(20, '9'))).c_str(), version,
                                     address));
    EXPECT_FALSE(ParseUpdateResponse(
        Response(Member("CurrentVersion", "2.0") + Member("ProductURL", url255 + "u")).c_str(), version, address));
    EXPECT_STREQ("", version);
    EXPECT_STREQ("", address);
}

TEST(UpdateResponseText, ReadSizeFromContentLength)
{
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize(nullptr));
    EXPECT_EQ(353, ResponseReadSize("353"));
    EXPECT_EQ(12, ResponseReadSize(" 12abc"));
    EXPECT_EQ(0, ResponseReadSize("0"));
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize("abc"));
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize(""));
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize("-5"));
    EXPECT_EQ(7, ResponseReadSize("+7"));
    EXPECT_EQ(0, ResponseReadSize("-0"));
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize("+"));
    EXPECT_EQ(kDefaultResponseSize, ResponseReadSize("-99999999999999999999"));
    // Between the default buffer and the largest length: as announced.
    EXPECT_EQ(20000, ResponseReadSize("20000"));
    EXPECT_EQ(kMaxResponseSize, ResponseReadSize("1048576"));
    EXPECT_EQ(-1, ResponseReadSize("1048577"));
    EXPECT_EQ(-1, ResponseReadSize("99999999999999999999999"));
}

TEST(PrefsJsProxy, ReadsHostAndPort)
{
    std::string host, port;
    EXPECT_EQ(PrefsProxy::kFound, ParsePrefsProxy("user_pref(\"network.proxy.http\", \"proxy.lan\");\n"
                                                  "user_pref(\"network.proxy.http_port\", 3128);\n",
                                                  host, port));
    EXPECT_EQ("proxy.lan", host);
    EXPECT_EQ("3128", port);

    // The port is looked for from the file's start, wherever the host is.
    EXPECT_EQ(PrefsProxy::kFound, ParsePrefsProxy("user_pref(\"network.proxy.http_port\", 8080);\n"
                                                  "user_pref(\"network.proxy.http\", \"p\");\n",
                                                  host, port));
    EXPECT_EQ("8080", port);

    EXPECT_EQ(PrefsProxy::kFound, ParsePrefsProxy("user_pref(\"network.proxy.http\", \"h\");", host, port));
    EXPECT_EQ("h", host);
    EXPECT_EQ("", port);

    EXPECT_EQ(PrefsProxy::kNone, ParsePrefsProxy("user_pref(\"network.proxy.type\", 1);", host, port));
    EXPECT_EQ(PrefsProxy::kNone, ParsePrefsProxy("", host, port));
    // The file counts up to its first NUL.
    EXPECT_EQ(PrefsProxy::kNone,
              ParsePrefsProxy(std::string("x\0user_pref(\"network.proxy.http\", \"h\");", 40), host, port));
}

TEST(PrefsJsProxy, UnusableValuesWriteNothing)
{
    std::string host, port;
    std::string host50(50, 'h');
    EXPECT_EQ(PrefsProxy::kFound,
              ParsePrefsProxy("user_pref(\"network.proxy.http\", \"" + host50 + "\");", host, port));
    EXPECT_EQ(host50, host);

    EXPECT_EQ(PrefsProxy::kUnusable,
              ParsePrefsProxy("user_pref(\"network.proxy.http\", \"" + host50 + "h\");", host, port));
    EXPECT_EQ("", host);
    EXPECT_EQ(PrefsProxy::kUnusable, ParsePrefsProxy("user_pref(\"network.proxy.http\", \"open", host, port));
    EXPECT_EQ(PrefsProxy::kUnusable, ParsePrefsProxy("network.proxy.http", host, port));
    EXPECT_EQ(PrefsProxy::kUnusable, ParsePrefsProxy("user_pref(\"network.proxy.http\", \"h\");"
                                                     "user_pref(\"network.proxy.http_port\", 3128;",
                                                     host, port));
    EXPECT_EQ(PrefsProxy::kUnusable, ParsePrefsProxy("user_pref(\"network.proxy.http\", \"h\");"
                                                     "user_pref(\"network.proxy.http_port\", " +
                                                         std::string(51, '1') + ");",
                                                     host, port));
    EXPECT_EQ("", host);
    EXPECT_EQ("", port);
}

TEST(ProxyTexts, BrowserNamesAndProxyHosts)
{
    const LeadBytes single = CodePageLeadBytes(1252), japanese = CodePageLeadBytes(932);
    EXPECT_EQ("firefox.exe", BrowserFileName("C:\\Program Files\\Mozilla Firefox\\firefox.exe", single));
    EXPECT_EQ("opera.exe", BrowserFileName("opera.exe", single));
    EXPECT_EQ("", BrowserFileName("C:\\dir\\", single));
    // A folder name ending in a trail byte 0x5C (Japanese 能).
    EXPECT_EQ("\x94\x5c.exe", BrowserFileName("C:\\x\\\x94\x5c.exe", japanese));
    EXPECT_EQ(".exe", BrowserFileName("C:\\x\\\x94\x5c.exe", single));

    std::string folder;
    ASSERT_TRUE(NetscapeFolder("C:\\Program Files\\Netscape\\Netscape\\netscape.exe", folder, single));
    EXPECT_EQ("C:\\Program Files\\Netscape\\", folder);
    EXPECT_FALSE(NetscapeFolder("C:\\Program Files\\NETSCAPE\\netscape.exe", folder, single));
    ASSERT_TRUE(NetscapeFolder("C:\\Netscape", folder, single));
    EXPECT_EQ("C:\\Netscape", folder);
    // In 932 "\x82N" is one character, and so is the two-byte one after "Netscape".
    ASSERT_TRUE(NetscapeFolder("C:\\\x82Netscape\\Netscape\x94\x5c\\n.exe", folder, japanese));
    EXPECT_EQ("C:\\\x82Netscape\\Netscape\x94\x5c", folder);
    ASSERT_TRUE(NetscapeFolder("C:\\\x82Netscape\\Netscape\x94\x5c\\n.exe", folder, single));
    EXPECT_EQ("C:\\\x82Netscape\\", folder);

    EXPECT_TRUE(ProxyTextHasHost("http://127.0.0.1:18765"));
    EXPECT_TRUE(ProxyTextHasHost("http://proxy"));
    EXPECT_TRUE(ProxyTextHasHost("proxy:80"));
    EXPECT_FALSE(ProxyTextHasHost("http://"));
    EXPECT_FALSE(ProxyTextHasHost(""));
    EXPECT_FALSE(ProxyTextHasHost("http://:3128"));
}
