// MultiByteTest.cpp: cuts and searches by character in code pages 932, 950 and 1252.
#include "framework/AnsiCodePage.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

TEST(MultiByte, CutsEndOnCharacterBoundaries)
{
    // The prefix allowed at each limit from 0 to the text's length.
    struct Row {
        unsigned codePage;
        const char* text;
        std::vector<size_t> prefixes;
    } rows[] = {
        {932, "ab\x94\x5c" "c", {0, 1, 2, 2, 4, 5}},
        {1252, "ab\x94\x5c" "c", {0, 1, 2, 3, 4, 5}},
        {950, "\xa5\x5c\xa5\x5c", {0, 0, 2, 2, 4}},
        {932, "a\x94", {0, 1, 2}},  // a lead byte that ends the text stands alone
    };
    for (const Row& row : rows) {
        const LeadBytes lead = CodePageLeadBytes(row.codePage);
        for (size_t limit = 0; limit < row.prefixes.size(); ++limit)
            EXPECT_EQ(CharPrefixLength(row.text, strlen(row.text), limit, lead), row.prefixes[limit])
                << row.codePage << " " << row.text << " " << limit;
    }
}

TEST(MultiByte, SearchesFindCharactersNeverTrailBytes)
{
    struct Row {
        unsigned codePage;
        const char* text;
        char c;
        size_t first, last;
    } rows[] = {
        {932, "C:\\\x94\x5c\\x\x94\x5c", '\\', 2, 5},
        {1252, "C:\\\x94\x5c\\x\x94\x5c", '\\', 2, 8},
        {950, "\xa5\x5c\x81,a,", ',', 5, 5},
        {1252, "\xa5\x5c\x81,a,", ',', 3, 5},
        {932, "\x94\x5c", '\\', kNoMatch, kNoMatch},
    };
    for (const Row& row : rows) {
        const LeadBytes lead = CodePageLeadBytes(row.codePage);
        EXPECT_EQ(FindFirstChar(row.text, strlen(row.text), row.c, lead), row.first) << row.codePage << row.text;
        EXPECT_EQ(FindLastChar(row.text, strlen(row.text), row.c, lead), row.last) << row.codePage << row.text;
    }
    // 'N' can be a trail byte: "\x82N" is one character.
    const char path[] = "\x82Netscape\\Netscape";
    EXPECT_EQ(FindCharText(path, strlen(path), "Netscape", CodePageLeadBytes(932)), 10u);
    EXPECT_EQ(FindCharText(path, strlen(path), "Netscape", CodePageLeadBytes(1252)), 1u);
}
