// UpdateQueryTest.cpp: whole update queries over real WinINet to the local update
// server, through the browser's or the system's proxy, with the stored records and
// the progress positions.
#include "tests/network/NetworkFixtures.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include "update/UpdateQuery.h"
#include "update/UpdateStore.h"

#include <gtest/gtest.h>

namespace {

const char kBodyForA[] =
    "<?xml version= \"1.0\" ?>\t<methodCall><methodName>vers.getLatestVersion</methodName><params><param>"
    "<value><array><data><value><string>A</string></value><value><string>1.0</string></value></data></array>"
    "</value></param><param><value>BortnelXMLRPCClient</value></param></params></methodCall>";

const std::vector<int> kProfilePositions = {10, 20, 30, 40, 50, 60, 80, 90, 100, 110, 120};
const std::vector<int> kPreconfiguredPositions = {10, 20, 30, 40, 50, 70, 80, 90, 100, 110};

struct QueryRun {
    bool result = false;
    bool keepChecking = true;
    char latest[32] = {};
    std::vector<int> positions;
};

class UpdateQueryTest : public ::testing::Test {
protected:
    void SetUp() override { UpdateServer::Reset(); }
    void TearDown() override { UpdateServer::Reset(); }

    QueryRun Query(const char* name, const char* version)
    {
        ProgressProbe probe;
        QueryRun outcome;
        outcome.result = QueryLatestVersion(name, version, outcome.latest, outcome.keepChecking, probe.Dialog());
        outcome.positions = probe.positions;
        return outcome;
    }
    std::string Stored(const char* package, const char* value)
    {
        return ReadRawValue(HKEY_LOCAL_MACHINE, m_packages.KeyPath(package).c_str(), value);
    }
    static std::string Header(const std::string& request, const char* name)
    {
        size_t at = request.find(std::string("\r\n") + name + ": ");
        if (at == std::string::npos)
            return std::string();
        at += strlen(name) + 4;
        return request.substr(at, request.find("\r\n", at) - at);
    }
    static std::string Body(const std::string& request)
    {
        size_t end = request.find("\r\n\r\n");
        return end == std::string::npos ? std::string() : request.substr(end + 4);
    }

    ScopedPackages m_packages;
};

}  // namespace

TEST_F(UpdateQueryTest, BytesOnTheWire)
{
    m_packages.Add("A", "1.0");
    QueryRun outcome = Query("A", "1.0");
    EXPECT_FALSE(outcome.result);  // an unknown package: a fault
    ASSERT_EQ(1, UpdateServer::RequestCount());
    std::string request = UpdateServer::RequestBytes(0);
    // A proxy receives the absolute address; Wine's WinINet names the port in it.
    std::string line = request.substr(0, request.find("\r\n"));
    EXPECT_TRUE(line == "POST http://update.norvane.com/current_version/server.php HTTP/1.0" ||
                line == "POST http://update.norvane.com:80/current_version/server.php HTTP/1.0")
        << request;
    EXPECT_EQ("update.norvane.com", Header(request, "Host"));
    EXPECT_EQ("Orrin exe", Header(request, "User-Agent"));
    std::string expected(kBodyForA, sizeof(kBodyForA));  // with its NUL
    EXPECT_EQ(expected, Body(request));
    EXPECT_EQ(std::to_string(strlen(kBodyForA) + 1), Header(request, "Content-Length"));

    Query("R&D <Tools>", "2.0");
    ASSERT_EQ(2, UpdateServer::RequestCount());
    EXPECT_NE(std::string::npos, Body(UpdateServer::RequestBytes(1)).find("<string>R&D <Tools></string>"));
}

TEST_F(UpdateQueryTest, NewerVersionThroughTheBrowserProfile)
{
    m_packages.Add("Norvane Studio", "2.0.33");
    UpdateServer::SetCatalogue({UpdateServer::Entry("Norvane Studio", "2.1.0", "http://www.norvane.com/studio")});
    QueryRun outcome = Query("Norvane Studio", "2.0.33");
    EXPECT_TRUE(outcome.result);
    EXPECT_TRUE(outcome.keepChecking);
    EXPECT_STREQ("2.1.0", outcome.latest);
    EXPECT_EQ("2.1.0", Stored("Norvane Studio", "UpdateVersion"));
    EXPECT_EQ("http://www.norvane.com/studio", Stored("Norvane Studio", "ProductUpdateUrl"));
    EXPECT_EQ(kProfilePositions, outcome.positions);
}

TEST_F(UpdateQueryTest, NewerVersionThroughPreconfiguredAccess)
{
    ScopedBrowser browser(ScopedBrowser::CommandFor(ScopedBrowser::MakeProgram(MakeTempDir("ie"), "iexplore.exe")));
    ScopedSystemProxy proxy(UpdateServer::Address());
    m_packages.Add("A", "1.0");
    UpdateServer::SetCatalogue({UpdateServer::Entry("A", "1.2", "http://x/a")});
    QueryRun outcome = Query("A", "1.0");
    EXPECT_TRUE(outcome.result);
    EXPECT_STREQ("1.2", outcome.latest);
    EXPECT_EQ("1.2", Stored("A", "UpdateVersion"));
    EXPECT_EQ("http://x/a", Stored("A", "ProductUpdateUrl"));
    EXPECT_EQ(kPreconfiguredPositions, outcome.positions);
    ASSERT_EQ(1, UpdateServer::RequestCount());
    EXPECT_EQ("Vantorix exe", Header(UpdateServer::RequestBytes(0), "User-Agent"));
}

TEST_F(UpdateQueryTest, EqualOrOlderVersionLeavesTheRecord)
{
    m_packages.Add("A", "1.5");
    m_packages.SetString("A", "UpdateVersion", "1.7");
    m_packages.SetString("A", "ProductUpdateUrl", "http://stored");
    for (const char* announced : {"1.5", "1.4.9", "0.9"}) {
        SCOPED_TRACE(announced);
        UpdateServer::SetCatalogue({UpdateServer::Entry("A", announced, "http://new")});
        QueryRun outcome = Query("A", "1.5");
        EXPECT_FALSE(outcome.result);
        EXPECT_TRUE(outcome.keepChecking);
        EXPECT_STREQ("", outcome.latest);
        // No report after the response was read.
        EXPECT_EQ(std::vector<int>(kProfilePositions.begin(), kProfilePositions.end() - 2), outcome.positions);
        EXPECT_EQ(std::string("1.7\0", 4), Stored("A", "UpdateVersion"));
        EXPECT_EQ(std::string("http://stored\0", 14), Stored("A", "ProductUpdateUrl"));
    }
}

TEST_F(UpdateQueryTest, FaultAnywhereIsNoAnswer)
{
    m_packages.Add("A", "1.0");
    QueryRun unknown = Query("A", "1.0");
    EXPECT_FALSE(unknown.result);
    EXPECT_TRUE(unknown.keepChecking);

    UpdateServer::SetCatalogue({UpdateServer::Entry("A", "2.0", "http://x")});
    UpdateServer::SetBehaviour("{\"mode\": \"fault-after\"}");
    QueryRun faultAfter = Query("A", "1.0");
    EXPECT_FALSE(faultAfter.result);
    EXPECT_TRUE(faultAfter.keepChecking);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, m_packages.KeyPath("A").c_str(), "UpdateVersion"));
}

TEST_F(UpdateQueryTest, AnswerWithoutAddressKeepsTheStoredOne)
{
    m_packages.Add("A", "1.0");
    m_packages.SetString("A", "ProductUpdateUrl", "http://stored");
    UpdateServer::SetCatalogue({UpdateServer::Entry("A", "3.0", nullptr)});
    QueryRun outcome = Query("A", "1.0");
    EXPECT_TRUE(outcome.result);
    EXPECT_STREQ("3.0", outcome.latest);
    EXPECT_EQ("3.0", Stored("A", "UpdateVersion"));
    EXPECT_EQ(std::string("http://stored\0", 14), Stored("A", "ProductUpdateUrl"));
}

TEST_F(UpdateQueryTest, BodiesOfEveryLengthAreRead)
{
    m_packages.Add("A", "1.0");
    UpdateServer::SetCatalogue({UpdateServer::Entry("A", "2.0", "http://x")});
    struct Case {
        const char* behaviour;
        bool result;
    } cases[] = {
        {"{\"mode\": \"no-length\"}", true},
        {"{\"mode\": \"slow\", \"chunk\": 40, \"delay\": 0.05}", true},
        {"{\"mode\": \"length\", \"length\": \"abc\"}", true},
        {"{\"mode\": \"length\", \"length\": \"-5\"}", true},
        {"{\"mode\": \"length\", \"length\": \"0\"}", false},
        {"{\"mode\": \"huge-length\"}", false},
        {"{\"mode\": \"huge-length\", \"length\": \"99999999999999999999\"}", false},
        {"{\"mode\": \"truncate\", \"bytes\": 150}", false},
        {"{\"mode\": \"garbage\"}", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        m_packages.SetString("A", "UpdateVersion", "");
        UpdateServer::SetBehaviour(c.behaviour);
        QueryRun outcome = Query("A", "1.0");
        EXPECT_EQ(c.result, outcome.result);
        EXPECT_TRUE(outcome.keepChecking);
        EXPECT_STREQ(c.result ? "2.0" : "", outcome.latest);
        EXPECT_EQ(c.result ? "2.0" : std::string(1, '\0'), Stored("A", "UpdateVersion"));
    }
}

TEST_F(UpdateQueryTest, OversizedValuesAreNoAnswer)
{
    m_packages.Add("A", "1.0");
    std::string longVersion = "2." + std::string(18, '0');  // 20 characters
    std::string longUrl = "http://" + std::string(249, 'u');  // 256 characters
    for (const std::string& entry : {UpdateServer::Entry("A", longVersion.c_str(), "http://x"),
                                     UpdateServer::Entry("A", "2.0", longUrl.c_str())}) {
        SCOPED_TRACE(entry);
        UpdateServer::SetCatalogue({entry});
        QueryRun outcome = Query("A", "1.0");
        EXPECT_FALSE(outcome.result);
        EXPECT_STREQ("", outcome.latest);
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, m_packages.KeyPath("A").c_str(), "UpdateVersion"));
    }

    // A name and version too long for the body: nothing is sent.
    std::string name(700, 'n');
    QueryRun tooLong = Query(name.c_str(), "1.0.0.0.0.0.0.0.0");
    EXPECT_FALSE(tooLong.result);
    EXPECT_TRUE(tooLong.keepChecking);
    EXPECT_TRUE(tooLong.positions.empty());
    EXPECT_EQ(2, UpdateServer::RequestCount());
}

TEST_F(UpdateQueryTest, ProxyWithoutHostFallsBackToPreconfiguredAccess)
{
    ScopedSystemProxy proxy(UpdateServer::Address());
    m_packages.Add("A", "1.0");
    UpdateServer::SetCatalogue({UpdateServer::Entry("A", "2.0", "http://x")});
    {
        // Another browser: "http://" alone.
        ScopedBrowser browser(
            ScopedBrowser::CommandFor(ScopedBrowser::MakeProgram(MakeTempDir("other"), "chrome.exe")));
        QueryRun outcome = Query("A", "1.0");
        EXPECT_TRUE(outcome.result);
        EXPECT_EQ(kPreconfiguredPositions, outcome.positions);
    }
    {
        // Firefox whose profile sets no proxy: the empty text.
        ScopedBrowser browser(
            ScopedBrowser::CommandFor(ScopedBrowser::MakeProgram(MakeTempDir("ff"), "firefox.exe")));
        ScopedAppData appData;
        ScopedAppData::WriteFile(appData.Folder() + "\\Mozilla\\Firefox\\Profiles\\p.default\\prefs.js",
                                 "user_pref(\"network.proxy.type\", 0);\n");
        QueryRun outcome = Query("A", "1.0");
        EXPECT_TRUE(outcome.result);
        EXPECT_EQ(kProfilePositions, outcome.positions);
    }
    ASSERT_EQ(2, UpdateServer::RequestCount());
    EXPECT_EQ("Vantorix exe", Header(UpdateServer::RequestBytes(0), "User-Agent"));
    EXPECT_EQ("Vantorix exe", Header(UpdateServer::RequestBytes(1), "User-Agent"));
}

TEST_F(UpdateQueryTest, SilentServerEndsThatQueryOnly)
{
    m_packages.Add("A", "1.0");
    m_packages.Add("B", "1.0");
    UpdateServer::SetCatalogue(
        {UpdateServer::Entry("A", "2.0", "http://a"), UpdateServer::Entry("B", "2.0", "http://b")});
    UpdateServer::SetBehaviour("{\"mode\": \"silent\", \"hold\": 60}");
    DWORD start = GetTickCount();
    QueryRun silent = Query("A", "1.0");
    DWORD elapsed = GetTickCount() - start;
    EXPECT_FALSE(silent.result);
    EXPECT_TRUE(silent.keepChecking);
    EXPECT_LT(elapsed, 45000u) << "the query waited for the silent server for " << elapsed << " ms";

    UpdateServer::SetBehaviour("{\"mode\": \"normal\"}");
    QueryRun next = Query("B", "1.0");
    EXPECT_TRUE(next.result);
    EXPECT_EQ("2.0", Stored("B", "UpdateVersion"));
}

TEST_F(UpdateQueryTest, CancelDuringTheSecondOfFivePackages)
{
    const char* names[] = {"P1", "P2", "P3", "P4", "P5"};
    std::vector<std::string> entries;
    for (const char* name : names) {
        m_packages.Add(name, "1.0");
        entries.push_back(UpdateServer::Entry(name, "1.1", "http://p"));
    }
    UpdateServer::SetCatalogue(entries);

    ProgressProbe probe;
    int package = 0;
    probe.onPosition = [&](int position) {
        if (package == 2 && position == 40)
            probe.PressCancel();
    };
    bool keepChecking = true;
    bool results[5] = {};
    bool keptAfter[5] = {};
    // As the product list drives it: the stored record once the user has cancelled.
    for (int i = 0; i < 5; ++i) {
        package = i + 1;
        probe.Dialog().SetProgress(0);
        char latest[32] = {};
        results[i] = keepChecking ? QueryLatestVersion(names[i], "1.0", latest, keepChecking, probe.Dialog())
                                  : UpdateStore(names[i], "1.0", latest, kUpdateRead, nullptr);
        keptAfter[i] = keepChecking;
    }
    EXPECT_TRUE(results[0]);
    EXPECT_TRUE(keptAfter[0]);
    EXPECT_FALSE(results[1]);
    EXPECT_FALSE(keptAfter[1]);
    for (int i = 2; i < 5; ++i)
        EXPECT_FALSE(results[i]) << names[i];
    EXPECT_EQ("1.1", Stored("P1", "UpdateVersion"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, m_packages.KeyPath("P2").c_str(), "UpdateVersion"));
    // The second query stopped at the report after the click, before anything was sent.
    EXPECT_EQ(1, UpdateServer::RequestCount());
}
