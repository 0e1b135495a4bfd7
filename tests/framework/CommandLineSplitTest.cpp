// CommandLineSplitTest.cpp: the command-line split in single- and double-byte code
// pages, and against the C run-time of a child process.
#include "framework/AnsiCodePage.h"
#include "framework/CommandLineSplit.h"
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

// The child's command line as it got it, then its argv, from the hex lines it wrote.
Args RunTimeArgs(const std::string& commandLine, const std::string& file)
{
    DeleteFileA(file.c_str());
    RunProcess(commandLine, 10000);
    Args lines;
    std::istringstream in(ReadWholeFile(file));
    for (std::string hex; std::getline(in, hex);) {
        std::string bytes;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
        lines.push_back(bytes);
    }
    return lines;
}

}  // namespace

TEST(CommandLine, SplitsByTheCharactersOfTheCodePage)
{
    struct Row {
        unsigned codePage;
        const char* line;
        Args args;
    } rows[] = {
        {1252, "prog.exe", {"prog.exe"}},
        {1252, "\"C:\\Program Files\\v.exe\" /n \"Studio Pack\" /v 2.1",
         {"C:\\Program Files\\v.exe", "/n", "Studio Pack", "/v", "2.1"}},
        {1252, "p a\tb   c", {"p", "a", "b", "c"}},
        {1252, "p a\"b c\"d", {"p", "ab cd"}},
        {1252, "p \"\"", {"p", ""}},
        {1252, "p \\\\\"a b\"", {"p", "\\a b"}},
        {1252, "p \\\"a", {"p", "\"a"}},
        {1252, "p a\\b", {"p", "a\\b"}},
        {1252, "p \"a\"\"b\"", {"p", "a\"b"}},
        {1252, "", {""}},
        // The last character of a quoted name has the trail byte 0x5C (Japanese 能).
        {932, "v.exe /n \"Norvane \x94\x5c\" /v 2.0", {"v.exe", "/n", "Norvane \x94\x5c", "/v", "2.0"}},
        {1252, "v.exe /n \"Norvane \x94\x5c\" /v 2.0", {"v.exe", "/n", "Norvane \x94\" /v 2.0"}},
        // Traditional Chinese 功.
        {950, "p \"\xa5\x5c\" x", {"p", "\xa5\x5c", "x"}},
        {1252, "p \"\xa5\x5c\" x", {"p", "\xa5\" x"}},
        // The first and last lead byte of each range, trail byte 0x5C before a quote.
        {932, "p \"\x81\x5c\" \"\x9f\x5c\" \"\xe0\x5c\" \"\xfc\x5c\"",
         {"p", "\x81\x5c", "\x9f\x5c", "\xe0\x5c", "\xfc\x5c"}},
        {949, "p \"\x81\x5c\" \"\xfe\x5c\"", {"p", "\x81\x5c", "\xfe\x5c"}},
        {950, "p \"\x81\x5c\" \"\xfe\x5c\"", {"p", "\x81\x5c", "\xfe\x5c"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitCommandLine(row.line, CodePageLeadBytes(row.codePage)), row.args)
            << row.codePage << ": " << row.line;
}

TEST(CommandLine, ArgumentsAsTypedFollowTheProgramName)
{
    const struct {
        const char* line;
        const char* arguments;
    } rows[] = {
        {"\"C:\\Program Files\\v.com\"  /n \"Studio Pack\" /v 2.1", "/n \"Studio Pack\" /v 2.1"},
        {"v.com\t-check ", "-check "},
        {"C:\\a\"b c\"d.com x", "x"},
        {"v.com", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(SkipProgramName(row.line, CodePageLeadBytes(1252)), row.arguments) << (row.line ? row.line : "null");
        // The same in the Unicode command line.
        const std::string line = row.line ? row.line : "";
        const std::wstring wide(line.begin(), line.end());
        EXPECT_EQ(std::wstring(SkipProgramName(row.line ? wide.c_str() : nullptr)),
                  std::wstring(row.arguments, row.arguments + strlen(row.arguments)));
    }
}

// Generated command lines in the process's own ANSI code page: the Japanese end-to-end
// test runs this in 932, the suite in 1252. The program name is a plain path, which
// run-times agree on (Wine's reads quotes and backslashes there as in arguments).
TEST(CommandLine, SplitsAsTheRunTimeOfAChildDoes)
{
    const std::string file = MakeTempDir("argv") + "argv.txt", child = BinDir() + "argv_printer.exe";
    SetEnvironmentVariableA("VANTORIX_ARGV_FILE", file.c_str());
    const std::string programs[] = {child + " ", "\"" + child + "\" "};
    const char* pieces[] = {" ", "\t", "\"", "\\", "\\\\", "a", "/n", "\x94\x5c", "\x83\x5c", "\x82\xa0", "\x8b\x40"};
    std::mt19937 random(14);
    for (int i = 0; i < 120; ++i) {
        std::string line = programs[i % 2];
        for (int n = 1 + random() % 10; n > 0; --n)
            line += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        Args seen = RunTimeArgs(line, file);
        ASSERT_GE(seen.size(), 2u) << line;
        EXPECT_EQ(SplitCommandLine(seen[0].c_str(), AnsiLeadBytes()), Args(seen.begin() + 1, seen.end()))
            << GetACP() << ": " << seen[0];
    }
}
