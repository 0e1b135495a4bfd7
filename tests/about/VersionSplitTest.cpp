// VersionSplitTest.cpp: the comma splitting of "FileVersion" texts.
#include "about/VersionSplit.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

using Parts = std::vector<std::string>;

Parts Split(const char* text, CommaFinder finder = nullptr)
{
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion(text, parts, finder);
    return {parts[0], parts[1], parts[2], parts[3]};
}

// A two-byte code page where 0x81 leads a character.
const char* FindCommaSkippingLeadBytes(const char* text)
{
    for (const char* p = text; *p; ++p) {
        if ((unsigned char)*p == 0x81 && p[1])
            ++p;
        else if (*p == ',')
            return p;
    }
    return nullptr;
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
    SplitFileVersion("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA,B", parts);
    EXPECT_STREQ(parts[0], "AAAAAAA");
    EXPECT_EQ(parts[1][0], 'x');  // not supplied: left as it was
}

TEST(VersionSplit, TheFinderDecidesWhatIsAComma)
{
    // "\x81," is one double-byte character, not a comma.
    EXPECT_EQ(Split("1\x81,2,3,4,5", FindCommaSkippingLeadBytes), (Parts{"1\x81,2", "3", "4", "5"}));
}
