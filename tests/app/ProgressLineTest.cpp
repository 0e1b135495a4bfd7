// ProgressLineTest.cpp: the console's progress line of a check, rewritten in place.
#include "app/ProgressLine.h"
#include "framework/AnsiCodePage.h"
#include <gtest/gtest.h>
#include <string>

TEST(ProgressLine, RewritesCutsAndClears)
{
    const LeadBytes single = CodePageLeadBytes(1252), japanese = CodePageLeadBytes(932);
    const struct {
        const char* name;
        int index, total;
        size_t width, shown;
        const LeadBytes& lead;
        std::string text;
        size_t nowShown;
    } rows[] = {
        {"Norvane Studio", 3, 12, 80, 0, single, "\rChecking 3 of 12: Norvane Studio", 32},
        // A shorter line blanks the rest of the longer one before it.
        {"Bravo", 2, 2, 80, 40, single, "\rChecking 2 of 2: Bravo                  ", 22},
        {"Bravo", 2, 2, 80, 22, single, "\rChecking 2 of 2: Bravo", 22},
        // One cell short of the width, never half a double-byte character (Japanese 能).
        {"Norvane Studio", 3, 12, 21, 0, single, "\rChecking 3 of 12: No", 20},
        {"Norvane Studio", 3, 12, 22, 0, single, "\rChecking 3 of 12: Nor", 21},
        {"\x94\x5c\x94\x5c", 1, 1, 21, 0, japanese, "\rChecking 1 of 1: \x94\x5c", 19},
        {"\x94\x5c\x94\x5c", 1, 1, 21, 0, single, "\rChecking 1 of 1: \x94\x5c\x94", 20},
        {"A\tB\r\x1f" "C", 10, 100, 80, 0, single, "\rChecking 10 of 100: A B  C", 26},
        {"\x94\nA", 1, 1, 80, 0, japanese, "\rChecking 1 of 1: \x94 A", 20},
        {"Bravo", 1, 1, 1, 5, single, "\r     ", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        size_t shown = row.shown;
        EXPECT_EQ(ProgressLineText(row.name, row.index, row.total, row.width, shown, row.lead), row.text);
        EXPECT_EQ(shown, row.nowShown);
    }
    size_t shown = 5;
    EXPECT_EQ(ClearedProgressLine(shown), "\r     \r");
    EXPECT_EQ(shown, 0u);
    EXPECT_EQ(ClearedProgressLine(shown), "");
}
