// CommandLineTest.cpp: the flags "n" and "v" fed as raw command lines through the
// framework's splitter, and the way of running they choose.
#include "app/CommandLineCollect.h"
#include "app/PackageApp.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Parsed {
    std::string name;
    std::string version;
    RunMode mode;
};

Parsed Parse(const std::string& arguments)
{
    CPackageCommandLineInfo info;
    std::string line = "\"C:\\Program Files\\Norvane\\vantorix.exe\"";
    if (!arguments.empty())
        line += " " + arguments;
    CWinApp::ParseCommandLine(info, line.c_str());
    EXPECT_FALSE(info.m_collectName && info.m_collectVersion);
    return {info.m_packageName, info.m_packageVersion, ChooseRunMode(info.m_packageName, info.m_packageVersion)};
}

void ExpectParsed(const std::string& arguments, const char* name, const char* version, RunMode mode)
{
    SCOPED_TRACE("command line: " + arguments);
    Parsed p = Parse(arguments);
    EXPECT_EQ(p.name, name);
    EXPECT_EQ(p.version, version);
    EXPECT_EQ(p.mode, mode);
}

}  // namespace

TEST(CommandLine, FlagsCollectNameAndVersion)
{
    ExpectParsed("", "", "", RunMode::kNormal);
    ExpectParsed("/n Studio Pack", "Studio Pack", "", RunMode::kQuickExit);
    ExpectParsed("/n \"Studio Pack\" /v 2.1", "Studio Pack", "2.1", RunMode::kPurchase);
    ExpectParsed("-n Studio /v 2.1 3.0", "Studio", "3.0", RunMode::kPurchase);
    ExpectParsed("/v 2.1 /n Studio", "Studio", "2.1", RunMode::kPurchase);
    ExpectParsed("/n Studio /x", "Studio x", "", RunMode::kQuickExit);
    ExpectParsed("Studio /n", "", "", RunMode::kNormal);
    ExpectParsed("/n Studio /n Pack", "Studio Pack", "", RunMode::kQuickExit);
    ExpectParsed("/n Studio\t\"Photo  Suite\" /v \"\"", "Studio Photo  Suite", "", RunMode::kQuickExit);
    ExpectParsed("-v 1.0 -n Photo -v", "Photo", "1.0", RunMode::kPurchase);
}

TEST(CommandLine, FlagsAreCaseSensitiveAndExact)
{
    ExpectParsed("/N Studio", "", "", RunMode::kNormal);
    ExpectParsed("/n /N /name /V", "N name V", "", RunMode::kQuickExit);
    ExpectParsed("/v /V", "", "V", RunMode::kNormal);
    ExpectParsed("/n Studio /v /version", "Studio", "version", RunMode::kPurchase);
    ExpectParsed("/n Studio /nv 1.0", "Studio nv 1.0", "", RunMode::kQuickExit);
}

TEST(CommandLine, OverlongValuesAreCutAt511)
{
    std::string word600(600, 'a');
    Parsed p = Parse("/n " + word600 + " /v " + std::string(600, '9'));
    EXPECT_EQ(p.name, std::string(511, 'a'));
    EXPECT_EQ(p.version, std::string(511, '9'));
    EXPECT_EQ(p.mode, RunMode::kPurchase);

    // Appending stops at the buffer's end, the blank included.
    std::string first(300, 'b');
    std::string second(300, 'c');
    p = Parse("/n " + first + " " + second + " more");
    EXPECT_EQ(p.name, first + " " + std::string(210, 'c'));
    p = Parse("/n " + std::string(511, 'd') + " e");
    EXPECT_EQ(p.name, std::string(511, 'd'));

    // A later version replaces a cut one whole.
    p = Parse("/v " + std::string(700, 'x') + " 2.0");
    EXPECT_EQ(p.version, "2.0");
}
