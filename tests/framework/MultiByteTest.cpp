// MultiByteTest.cpp: cuts by character in code pages 932, 936, 950 and 1252 (the
// searches are tested through their callers).
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
        // The first and last lead byte of each range, between the bytes just outside it.
        {932, "\x80\x81\x5c\x9f\x5c\xa0", {0, 1, 1, 3, 3, 5, 6}},
        {932, "\xdf\xe0\x5c\xfc\x5c\xfd", {0, 1, 1, 3, 3, 5, 6}},
        {936, "\x80\x81\x5c\xfe\x5c\xff", {0, 1, 1, 3, 3, 5, 6}},
        {950, "\x80\x81\x5c\xfe\x5c\xff", {0, 1, 1, 3, 3, 5, 6}},
    };
    for (const Row& row : rows) {
        const LeadBytes lead = CodePageLeadBytes(row.codePage);
        for (size_t limit = 0; limit < row.prefixes.size(); ++limit)
            EXPECT_EQ(CharPrefixLength(row.text, strlen(row.text), limit, lead), row.prefixes[limit])
                << row.codePage << " " << row.text << " " << limit;
    }
}
