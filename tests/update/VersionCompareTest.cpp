// VersionCompareTest.cpp: the comparison of dotted version strings.
#include "update/VersionCompare.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Row {
    const char* installed;
    const char* candidate;
    bool newer;
};

const Row kRows[] = {
    {"1.2.3", "1.2.4", true},
    {"1.2.3", "1.2.3", false},
    {"1.2.4", "1.2.3", false},
    {"1.2.3", "1.3", true},
    {"1.3", "1.2.5", false},
    {"1.2", "1.2.1", true},       // the longer string's extra field counts
    {"1.2.1", "1.2", false},
    {"1.0", "1.0.0.1", true},
    {"3", "3.0.1", true},
    {"3.0.1", "4", true},
    {"1.9", "1.10", true},
    {"1.02", "1.2", false},
    {"2.0", "10", true},
    {"5", "6", true},
    {"", "1.0", false},
    {"1.0", "", false},
    {"1.", "1.1", true},          // "1." reads as 1.0
    {"1.2.", "1.2.1", true},
    {"1.a", "1.1", true},
    {"1..2", "1.0.3", true},
    {".5", "1.2", true},
    // Missing fields are 0 on either side.
    {"1.2", "1.2.0", false},
    {"1.2.0", "1.2", false},
    {"1.2.0.0", "1.2", false},
    {"1.2", "1.2.0.0.0.1", true},
    {"1.2.0.0.0.1", "1.2", false},
    {"1.", "1", false},
    {"1", "1.", false},
    // atoi reading of a field.
    {"1. 2", "1.3", true},
    {"1.+2", "1.2", false},
    {"1.-1", "1.0", true},
    {"1.2beta", "1.3", true},
    {"1.2beta", "1.2", false},
    {"x", "y", false},
    {"99999999999999999999", "99999999999999999998", false},  // both saturate
    {"2147483646", "99999999999999999999", true},
};

}  // namespace

TEST(CompareVersions, Table)
{
    for (const Row& row : kRows) {
        EXPECT_EQ(CompareVersions(row.installed, row.candidate), row.newer)
            << "installed \"" << row.installed << "\", candidate \"" << row.candidate << "\"";
    }
}

TEST(CompareVersions, NeverNewerThanItselfAndAntisymmetric)
{
    for (const Row& row : kRows) {
        EXPECT_FALSE(CompareVersions(row.installed, row.installed)) << row.installed;
        if (CompareVersions(row.installed, row.candidate)) {
            EXPECT_FALSE(CompareVersions(row.candidate, row.installed))
                << row.installed << " / " << row.candidate;
        }
    }
}

TEST(CompareVersions, NullIsNeverNewer)
{
    EXPECT_FALSE(CompareVersions(nullptr, "1.0"));
    EXPECT_FALSE(CompareVersions("1.0", nullptr));
}

TEST(CompareVersions, LongStringsAreReadToTheEnd)
{
    std::string a(4000, '.');
    std::string b = a + "1";
    EXPECT_TRUE(CompareVersions(("1" + a).c_str(), ("1" + b).c_str()));
    EXPECT_FALSE(CompareVersions(("1" + b).c_str(), ("1" + a).c_str()));
}
