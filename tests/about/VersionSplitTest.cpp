// VersionSplitTest.cpp: the comma splitting of "FileVersion" texts.
#include "about/VersionSplit.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const char* text)
{
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion(text, parts);
    return {parts[0], parts[1], parts[2], parts[3]};
}

using Parts = std::vector<std::string>;

// A finder for a two-byte code page where 0x81 leads a character.
const char* FindCommaSkippingLeadBytes(const char* text)
{
    for (const char* p = text; *p; ++p) {
        if ((unsigned char)*p == 0x81) {
            if (!p[1])
                return nullptr;
            ++p;
            continue;
        }
        if (*p == ',')
            return p;
    }
    return nullptr;
}

}  // namespace

TEST(VersionSplit, PiecesKeepTheirBlanks)
{
    EXPECT_EQ(Split("2, 0, 33, 70715"), (Parts{"2", " 0", " 33", " 70715"}));
    EXPECT_EQ(Split("1,2,3,4"), (Parts{"1", "2", "3", "4"}));
    EXPECT_EQ(Split(",,,"), (Parts{"", "", "", ""}));
}

TEST(VersionSplit, BuildOnlyWithExactlyThreeCommas)
{
    EXPECT_EQ(Split("1.0.0.1"), (Parts{"", "", "", ""}));
    EXPECT_EQ(Split(""), (Parts{"", "", "", ""}));
    EXPECT_EQ(Split("1,2"), (Parts{"1", "", "", ""}));
    EXPECT_EQ(Split("1,2,3"), (Parts{"1", "2", "", ""}));
    EXPECT_EQ(Split("1,2,3,4,5"), (Parts{"1", "2", "3", ""}));
    EXPECT_EQ(Split("1,2,3,4,5,6,7"), (Parts{"1", "2", "3", ""}));
}

TEST(VersionSplit, LongPiecesAreCutToSevenCharacters)
{
    EXPECT_EQ(Split("12345678, 1234567,abcdefghijkl, 9876543210"),
              (Parts{"1234567", " 123456", "abcdefg", " 987654"}));
    // Neighbouring parts are not overwritten by a long piece.
    char parts[kVersionPartCount][kVersionPartSize];
    memset(parts, 'x', sizeof(parts));
    SplitFileVersion("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA,B", parts);
    EXPECT_STREQ(parts[0], "AAAAAAA");
    EXPECT_EQ(parts[1][0], 'x');
    EXPECT_EQ(parts[3][7], 'x');
}

TEST(VersionSplit, PartsNotSuppliedStayAsTheyWere)
{
    char parts[kVersionPartCount][kVersionPartSize] = {"a", "b", "c", "d"};
    SplitFileVersion("9,8", parts);
    EXPECT_STREQ(parts[0], "9");
    EXPECT_STREQ(parts[1], "b");
    EXPECT_STREQ(parts[3], "d");
    SplitFileVersion(nullptr, parts);
    EXPECT_STREQ(parts[0], "9");
}

TEST(VersionSplit, TheFinderDecidesWhatIsAComma)
{
    // "\x81," is one double-byte character, not a comma.
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion("1\x81,2,3,4,5", parts, FindCommaSkippingLeadBytes);
    EXPECT_STREQ(parts[0], "1\x81,2");
    EXPECT_STREQ(parts[1], "3");
    EXPECT_STREQ(parts[2], "4");
    EXPECT_STREQ(parts[3], "5");
}
