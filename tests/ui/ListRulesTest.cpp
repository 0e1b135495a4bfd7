// ListRulesTest.cpp: the plain rules of the product list.
#include "ui/ListRules.h"

#include <gtest/gtest.h>

TEST(ListRules, OnlyWebAddressesAreOpened)
{
    const char* products = "www.norvane.com/products";
    EXPECT_STREQ(LinkPageAddress("http://updates.example/p", products), "http://updates.example/p");
    EXPECT_STREQ(LinkPageAddress("HTTPS://updates.example/p", products), "HTTPS://updates.example/p");
    EXPECT_STREQ(LinkPageAddress("HtTp://x", products), "HtTp://x");
    EXPECT_STREQ(LinkPageAddress("", products), products);
    EXPECT_STREQ(LinkPageAddress(nullptr, products), products);
    EXPECT_STREQ(LinkPageAddress("file:///C:/windows/system32/calc.exe", products), products);
    EXPECT_STREQ(LinkPageAddress("C:\\windows\\notepad.exe", products), products);
    EXPECT_STREQ(LinkPageAddress("http:/one-slash", products), products);
    EXPECT_STREQ(LinkPageAddress("http", products), products);
    EXPECT_STREQ(LinkPageAddress(" http://leading-blank", products), products);
    EXPECT_STREQ(LinkPageAddress("javascript:alert(1)", products), products);
}

TEST(ListRules, RowsAtHeightCoverTheRowUnderThePoint)
{
    int first = -1, last = -1;
    // Rows of 17 pixels from y 20.
    ASSERT_TRUE(RowsAtHeight(20, 20, 17, 100, &first, &last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1);
    ASSERT_TRUE(RowsAtHeight(20 + 17 * 50 + 3, 20, 17, 100, &first, &last));
    EXPECT_EQ(first, 49);
    EXPECT_EQ(last, 51);
    ASSERT_TRUE(RowsAtHeight(20 + 17 * 99 + 16, 20, 17, 100, &first, &last));
    EXPECT_EQ(first, 98);
    EXPECT_EQ(last, 99);
    // Just above row 0 and just below the last row: the neighbour still counts.
    ASSERT_TRUE(RowsAtHeight(19, 20, 17, 100, &first, &last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
    ASSERT_TRUE(RowsAtHeight(20 + 17 * 100, 20, 17, 100, &first, &last));
    EXPECT_EQ(first, 99);
    EXPECT_EQ(last, 99);
    // Far outside, no rows, no height: nothing.
    EXPECT_FALSE(RowsAtHeight(2, 20, 17, 100, &first, &last));
    EXPECT_FALSE(RowsAtHeight(20 + 17 * 102, 20, 17, 100, &first, &last));
    EXPECT_FALSE(RowsAtHeight(30, 20, 17, 0, &first, &last));
    EXPECT_FALSE(RowsAtHeight(30, 20, 0, 10, &first, &last));
    // A list scrolled down: row 0 far above the client area.
    ASSERT_TRUE(RowsAtHeight(40, 20 - 17 * 1000, 17, 5000, &first, &last));
    EXPECT_EQ(first, 1000);
    EXPECT_EQ(last, 1002);
}
