// VersionSplitTest.cpp: the comma splitting of "FileVersion" texts.
#include "about/VersionSplit.h"
#include "framework/AnsiCodePage.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

using Parts = std::vector<std::string>;

Parts Split(const char* text, unsigned codePage = 1252)
{
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion(text, parts, CodePageLeadBytes(codePage));
    return {parts[0], parts[1], parts[2], parts[3]};
}

}  // namespace

TEST(VersionSplit, PiecesBuildAndCuts)
{
    EXPECT_EQ(Split("2, 0, 33, 70715"), (Parts{"2", " 0", " 33", " 70715"}));
    EXPECT_EQ(Split(",,,"), (Parts{"", "", "", ""}));
    // The build only with exactly three commas.
    EXPECT_EQ(Split("1.0.0.1"), (Parts{"", "", "", ""}));
    EXPECT_EQ(Split("1,2,3"), (Parts{"1", "2", "", ""}));
    EXPECT_EQ(Split("1,2,3,4,5"), (Parts{"1", "2", "3", ""}));
    // Pieces over 7 characters are cut, never spilling into the next part.
    EXPECT_EQ(Split("12345678, 1234567,abcdefghijkl, 9876543210"),
              (Parts{"1234567", " 123456", "abcdefg", " 987654"}));
    char parts[kVersionPartCount][kVersionPartSize];
    memset(parts, 'x', sizeof(parts));
    SplitFileVersion("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA,B", parts, LeadBytes{});
    EXPECT_STREQ(parts[0], "AAAAAAA");
    EXPECT_EQ(parts[1][0], 'x');  // not supplied: left as it was
}

TEST(VersionSplit, CommasAndCutsByCharacterOfTheCodePage)
{
    // "\x81," is one double-byte character, not a comma.
    EXPECT_EQ(Split("1\x81,2,3,4,5", 932), (Parts{"1\x81,2", "3", "4", "5"}));
    EXPECT_EQ(Split("1\x81,2,3,4,5"), (Parts{"1\x81", "2", "3", ""}));
    // A piece is cut before a character that would end past its seventh byte.
    EXPECT_EQ(Split("123456\x94\x5c,x,,", 932), (Parts{"123456", "x", "", ""}));
    EXPECT_EQ(Split("1,\xa5\x5c\xa5\x5c\xa5\x5c\xa5\x5c,,", 950), (Parts{"1", "\xa5\x5c\xa5\x5c\xa5\x5c", "", ""}));
    EXPECT_EQ(Split("123456\x94\x5c,x,,"), (Parts{"123456\x94", "x", "", ""}));
}
