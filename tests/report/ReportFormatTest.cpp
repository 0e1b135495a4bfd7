// ReportFormatTest.cpp: the report's texts, formed without the system.
#include "report/ReportFormat.h"
#include "tests/report/ReportFiles.h"
#include <gtest/gtest.h>

TEST(ReportFormat, DateLineHasTwoDigitFieldsAndAnEmptyLine)
{
    EXPECT_EQ(FormatReportDateLine(2027, 2, 1, 9, 5, 3), "Report Date: 2027.02.01 09:05:03\r\n\r\n");
    EXPECT_EQ(FormatReportDateLine(2026, 12, 7, 6, 45, 40), "Report Date: 2026.12.07 06:45:40\r\n\r\n");
    EXPECT_EQ(FormatReportDateLine(999, 10, 31, 23, 59, 59), "Report Date: 999.10.31 23:59:59\r\n\r\n");
    EXPECT_EQ(FormatReportDateLine(2030, 1, 1, 0, 0, 0), "Report Date: 2030.01.01 00:00:00\r\n\r\n");
    // The widest values a SYSTEMTIME can hold still fit.
    EXPECT_EQ(FormatReportDateLine(65535, 65535, 65535, 65535, 65535, 65535),
              "Report Date: 65535.65535.65535 65535:65535:65535\r\n\r\n");
    std::string rest = "x";
    EXPECT_TRUE(SplitDateLine(FormatReportDateLine(2027, 2, 1, 9, 5, 3), &rest));
    EXPECT_EQ(rest, "");
}

TEST(ReportFormat, BlockHeadKeepsItsBlanksAndLineEnds)
{
    EXPECT_EQ(FormatBlockHead("Alpha", "2.0.33", false, "Setup1"),
              "Product: \r\nAlpha Version: 2.0.33 Hide: 0 \r\nInstallProject: Setup1 \r\nComponents: \r\n");
    EXPECT_EQ(FormatBlockHead("Bare", "", true, ""),
              "Product: \r\nBare Version:  Hide: 1 \r\nInstallProject:  \r\nComponents: \r\n");
    // Texts are copied, never used as formats.
    EXPECT_EQ(FormatBlockHead("%s%n", "%d", false, "%x"),
              "Product: \r\n%s%n Version: %d Hide: 0 \r\nInstallProject: %x \r\nComponents: \r\n");
}

TEST(ReportFormat, FieldTextStopsAtZeroOrFieldEnd)
{
    const char zeroed[8] = {'a', 'b', 0, 'c', 0, 0, 0, 0};
    EXPECT_EQ(FieldText(zeroed, sizeof(zeroed)), "ab");
    const char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(FieldText(full, sizeof(full)), "wxyz");
    EXPECT_EQ(FieldText(full, 0), "");
}
