// CommandLineTest.cpp: the flags "n" and "v" fed as raw command lines through the
// framework's splitter, and the way of running they choose.
#include "app/CommandLineCollect.h"
#include "app/PackageApp.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Parsed {
    std::string name;
    std::string version;
    RunMode mode;
    std::string script;  // the scripted command, as Script() writes it
};

// "check list=FILE report=FILE proxy=P", "usage", or "error: TEXT" (with " +hint" when
// the usage hint follows); empty when not scripted. P is HOST:PORT or direct; no proxy=
// when the default stands.
std::string Script(const ScriptedCommand& c)
{
    if (!c.scripted)
        return "";
    if (!c.error.empty())
        return "error: " + c.error + (c.usageHint ? " +hint" : "");
    std::string text = c.usage ? "usage" : "";
    if (c.check)
        text += " check";
    if (c.list)
        text += " list=" + c.listFile;
    if (c.report)
        text += " report=" + c.reportFile;
    if (c.proxy.kind == ProxyRule::kNamed)
        text += " proxy=" + c.proxy.address;
    else if (c.proxy.kind == ProxyRule::kDirect)
        text += " proxy=direct";
    return text[0] == ' ' ? text.substr(1) : text;
}

// The line as vantorix.exe reads it, or with console as vantorix.com does.
Parsed Parse(const std::string& arguments, bool console = false)
{
    CPackageCommandLineInfo info;
    std::string line = "\"C:\\Program Files\\Norvane\\vantorix.exe\"";
    if (!arguments.empty())
        line += " " + arguments;
    CWinApp::ParseCommandLine(info, line.c_str());
    if (console)
        RequireMeaningfulLine(info.m_script);
    EXPECT_FALSE(info.m_collectName && info.m_collectVersion);
    return {info.m_packageName, info.m_packageVersion, ChooseRunMode(info.m_packageName, info.m_packageVersion),
            Script(info.m_script)};
}

void ExpectParsed(const std::string& arguments, const char* name, const char* version, RunMode mode,
                  const char* script = "")
{
    SCOPED_TRACE("command line: " + arguments);
    Parsed p = Parse(arguments);
    EXPECT_EQ(p.name, name);
    EXPECT_EQ(p.version, version);
    EXPECT_EQ(p.mode, mode);
    EXPECT_EQ(p.script, script);
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
    // Flags for scripts count only before any "n" or "v".
    ExpectParsed("/n Studio /report", "Studio report", "", RunMode::kQuickExit);
    ExpectParsed("/v 2.1 /check /n Studio /list", "Studio list", "check", RunMode::kPurchase);
    ExpectParsed("/report r.txt", "", "", RunMode::kNormal, "report=r.txt");
    ExpectParsed("-list \"C:\\My Lists\\a,b.csv\" /check", "", "", RunMode::kNormal,
                 "check list=C:\\My Lists\\a,b.csv");
    ExpectParsed("/?", "", "", RunMode::kNormal, "usage");
    // In any case, after '/' or '-'.
    ExpectParsed("/Report r.txt -CHECK /LiSt l.csv", "", "", RunMode::kNormal, "check list=l.csv report=r.txt");
    ExpectParsed("-PROXY 10.0.0.5:3128 /Check", "", "", RunMode::kNormal, "check proxy=10.0.0.5:3128");
    ExpectParsed("/check /proxy DIRECT", "", "", RunMode::kNormal, "check proxy=direct");
    ExpectParsed("/proxy [::1]:65535 /check", "", "", RunMode::kNormal, "check proxy=[::1]:65535");
    // The forms administrators write: the scheme, a list as netsh shows it (its http=
    // entry, wherever it stands), blanks between entries.
    for (const auto& row : std::vector<std::pair<const char*, const char*>>{
             {"http://proxy.corp:8080", "proxy.corp:8080"},
             {"HTTP://proxy.corp:8080/", "proxy.corp:8080"},
             {"http://[fe80::1]:3128/", "[fe80::1]:3128"},
             {"http=proxy:8080;https=proxy:8443", "proxy:8080"},
             {"\"https=p:8443; Http=http://p_2.corp:1\"", "p_2.corp:1"},
             {"shttp=s:1;http=p:2", "p:2"},
             {"a:1;https=b:2;http=c:3", "c:3"},
             {"\"https=b:2 a:1;d:4\"", "a:1"},
             {"proxy:80;", "proxy:80"},
             {"direct.corp:80", "direct.corp:80"},
             {"aAzZ09-_.corp:65535", "aAzZ09-_.corp:65535"}})
        ExpectParsed(std::string("/check /proxy ") + row.first, "", "", RunMode::kNormal,
                     (std::string("check proxy=") + row.second).c_str());
    // The aliases of the usage, and of the flags after "--".
    for (const char* usage : {"/help", "-help", "/h", "-H", "--help", "-?", "/HELP"})
        ExpectParsed(usage, "", "", RunMode::kNormal, "usage");
    ExpectParsed("--check --LIST l.csv --report r.txt --proxy direct", "", "", RunMode::kNormal,
                 "check list=l.csv report=r.txt proxy=direct");
    ExpectParsed("--check /check", "", "", RunMode::kNormal, "error: The flag /check is given twice.");
    for (const char* flag : {"--h", "--?", "/-check", "---check", "/hel", "/checks", "/helpme"})
        ExpectParsed(std::string("/check ") + flag, "", "", RunMode::kNormal,
                     (std::string("error: Unknown flag \"") + flag + "\".").c_str());
    // A scripted line is strict, before its flags and after them.
    ExpectParsed("/lsit a.csv /check", "", "", RunMode::kNormal, "error: Unknown flag \"/lsit\".");
    ExpectParsed("/check -lsit a.csv", "", "", RunMode::kNormal, "error: Unknown flag \"-lsit\".");
    ExpectParsed("/list D:\\My Reports\\l.csv", "", "", RunMode::kNormal,
                 "error: Unexpected argument \"Reports\\l.csv\"; a file name with blanks goes between double quotes.");
    ExpectParsed("extra /? ", "", "", RunMode::kNormal,
                 "error: Unexpected argument \"extra\"; a file name with blanks goes between double quotes.");
    ExpectParsed("/check /N Studio", "", "", RunMode::kNormal, "error: Unknown flag \"/N\".");
    const std::string forms = "HOST:PORT, http://HOST:PORT, [IPv6]:PORT, http=HOST:PORT;https=HOST:PORT or direct";
    ExpectParsed("/proxy", "", "", RunMode::kNormal, ("error: The flag /proxy needs " + forms + " after it.").c_str());
    ExpectParsed("/proxy /check", "", "", RunMode::kNormal,
                 ("error: The flag /proxy needs " + forms + " after it.").c_str());
    for (const char* proxy :
         {"proxy.corp", "proxy.corp:65536", "proxy.corp:0", ":8080", "proxy.corp:", "proxy.corp:008080",
          "https://proxy.corp:8443", "socks=proxy:1080", "https=p:8443;ftp=f:21", "http://http://proxy.corp:8080",
          "http://proxy.corp:8080//", "proxy.corp:8080/", "http://", "[::1]", "[::1:80", "[]:80", "[g::1]:80",
          "pr\xF6xy:80", "http=", "prox y:80", "xttp://proxy.corp:8080", "xttp=p:1"})
        ExpectParsed(std::string("/check /proxy \"") + proxy + "\"", "", "", RunMode::kNormal,
                     (std::string("error: The proxy \"") + proxy + "\" is not " + forms + ".").c_str());
    // The proxy belongs to the check.
    for (const char* line : {"/proxy direct", "/list l.csv /proxy 10.0.0.5:3128", "/proxy a:1 /?"})
        ExpectParsed(line, "", "", RunMode::kNormal,
                     ("error: The flag /proxy works only with /check; it takes " + forms + ".").c_str());
    ExpectParsed("/proxy a:1 /proxy direct", "", "", RunMode::kNormal, "error: The flag /proxy is given twice.");
    // Without a scripted flag, other words and flags keep their old meaning.
    ExpectParsed("/lsit a.csv", "", "", RunMode::kNormal);
    ExpectParsed("word /n Studio /CHECK", "Studio CHECK", "", RunMode::kQuickExit);
    ExpectParsed("/list", "", "", RunMode::kNormal, "error: The flag /list needs a file name after it.");
    ExpectParsed("/report /check", "", "", RunMode::kNormal, "error: The flag /report needs a file name after it.");
    ExpectParsed("/list \"\" /check", "", "", RunMode::kNormal, "error: The flag /list needs a file name after it.");
    ExpectParsed("/check /list a /check", "", "", RunMode::kNormal, "error: The flag /check is given twice.");
    ExpectParsed("/list a /report b /list c", "", "", RunMode::kNormal, "error: The flag /list is given twice.");
    ExpectParsed("/report a /report b", "", "", RunMode::kNormal, "error: The flag /report is given twice.");
    // Two faults: the first one is told.
    ExpectParsed("/report /report r.txt", "", "", RunMode::kNormal,
                 "error: The flag /report needs a file name after it.");
    ExpectParsed("/list a.csv -v 2.1", "", "2.1", RunMode::kNormal,
                 "error: The flags /check, /list and /report cannot be combined with /n or /v.");
    // The usage is no work: "n" and "v" may follow it.
    ExpectParsed("/? /n Studio", "Studio", "", RunMode::kQuickExit, "usage");
    ExpectParsed("/check -n Studio", "Studio", "", RunMode::kQuickExit,
                 "error: The flags /check, /list and /report cannot be combined with /n or /v.");
}

TEST(CommandLine, TheConsoleProgramHandsOnlyMeaningfulLinesToTheWindow)
{
    const struct {
        const char* arguments;
        const char* script;  // "" for the window program
    } rows[] = {
        {"", ""},
        {"   ", ""},
        {"/n \"Studio Pack\" /v 1.0", ""},
        {"-v 2.1 /lsit", ""},
        {"/n Studio word /x", ""},
        {"/lsit C:\\x\\l.csv", "error: Unknown flag \"/lsit\". +hint"},
        {"Studio /n", "error: Unexpected argument \"Studio\"; a file name with blanks goes between double quotes. +hint"},
        {"\"\"", "error: Unexpected argument \"\"; a file name with blanks goes between double quotes. +hint"},
        {"/N Studio /V 1.0", "error: Unknown flag \"/N\". +hint"},
        {"--n Studio", "error: Unknown flag \"--n\". +hint"},
        {"--help", "usage"},
        {"--check /lsit", "error: Unknown flag \"/lsit\"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        EXPECT_EQ(Parse(row.arguments, true).script, row.script);
    }
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
