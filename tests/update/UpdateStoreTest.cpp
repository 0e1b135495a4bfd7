// UpdateStoreTest.cpp: UpdateRecords in the registry of the test prefix.
#include "update/UpdateStore.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

const char kVersion[] = "UpdateVersion";
const char kUrl[] = "ProductUpdateUrl";

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

DWORD ValueCount(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

bool AllZero(const char* buffer, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        if (buffer[i])
            return false;
    }
    return true;
}

// Stores exactly size bytes of text. RegSetValueExA counts a NUL that follows string
// data, so the copy ends in a non-zero byte.
void SetExact(ScopedPackages& packages, const char* package, const char* name, const char* text, DWORD size,
              DWORD type = REG_SZ)
{
    std::string data(text, size);
    data.push_back('\x01');
    packages.SetRaw(package, name, type, data.data(), size);
}

// One package with a stored record, as an earlier check leaves it (no NULs stored).
class UpdateStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        packages.Add("Studio Pack", "2.0");
        SetExact(packages, "Studio Pack", kVersion, "2.1", 3);
        SetExact(packages, "Studio Pack", kUrl, "http://norvane.test/2.1", 23);
        path = packages.KeyPath("Studio Pack");
    }
    std::string Raw(const char* value) const { return ReadRawValue(HKEY_LOCAL_MACHINE, path.c_str(), value); }
    bool Has(const char* value) const { return ValueExists(HKEY_LOCAL_MACHINE, path.c_str(), value); }

    ScopedPackages packages;
    std::string path;
};

}  // namespace

TEST_F(UpdateStoreTest, StoresAndReadsTheRecord)
{
    packages.Add("Other", "1.0");
    char url[256] = "http://norvane.test/3.0";
    char version[32] = "3.0";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, url));
    // Exactly the characters: no terminating NUL in the data.
    EXPECT_EQ(Raw(kVersion), "3.0");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/3.0");
    EXPECT_EQ(ValueCount(packages.KeyPath("Other")), 1u);  // only its Version

    char read[32];
    memset(read, 'Z', sizeof(read));
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", read, kUpdateRead, nullptr));
    EXPECT_STREQ(read, "3.0");
    EXPECT_EQ(read[4], 'Z');  // the text and its NUL, nothing more
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", nullptr, kUpdateRead, nullptr));

    char address[256] = {};
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, address));
    EXPECT_STREQ(address, "http://norvane.test/3.0");
    EXPECT_TRUE(AllZero(address + 24, sizeof(address) - 24));
}

TEST_F(UpdateStoreTest, NameMustMatchLetterCaseInEveryMode)
{
    for (const char* name : {"studio pack", "STUDIO PACK", "Studio pack"}) {
        char version[32] = {};
        EXPECT_FALSE(UpdateStore(name, "1.0", version, kUpdateRead, nullptr)) << name;
        EXPECT_TRUE(AllZero(version, sizeof(version)));
        char newer[32] = "9.0";
        EXPECT_FALSE(UpdateStore(name, nullptr, newer, kUpdateStoreRecord, newer)) << name;
        EXPECT_FALSE(UpdateStore(name, nullptr, nullptr, kUpdateClear, nullptr)) << name;
        char url[256] = {};
        EXPECT_FALSE(UpdateStore(name, nullptr, nullptr, kUpdateReadAddress, url)) << name;
        EXPECT_TRUE(AllZero(url, sizeof(url)));
    }
    // A version equal to the installed one would have cleared the record.
    EXPECT_FALSE(UpdateStore("studio pack", "2.1", nullptr, kUpdateRead, nullptr));
    EXPECT_EQ(Raw(kVersion), "2.1");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");
}

TEST_F(UpdateStoreTest, PathsAndOtherNamesNeverReachAPackageKey)
{
    // A nested key below a package, with a record that a path would reach.
    std::string nested = path + "\\Addon";
    SetRawValue(HKEY_LOCAL_MACHINE, nested.c_str(), kVersion, REG_SZ, "1.5", 3);
    packages.Add("Studio Pack Pro", "1.0");
    for (const char* name : {"Studio Pack\\Addon", "\\Studio Pack", "Studio Pack\\", "Studio", "Studio Pack ",
                             "", "Studio Pack\\.."}) {
        char version[32] = {};
        EXPECT_FALSE(UpdateStore(name, "1.0", version, kUpdateRead, nullptr)) << name;
        char newer[32] = "9.0";
        EXPECT_FALSE(UpdateStore(name, nullptr, newer, kUpdateStoreRecord, nullptr)) << name;
        EXPECT_FALSE(UpdateStore(name, nullptr, nullptr, kUpdateClear, nullptr)) << name;
    }
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, nested.c_str(), kVersion), std::string("1.5", 4));
    EXPECT_EQ(Raw(kVersion), "2.1");
    EXPECT_EQ(ValueCount(kTestPackagesPath), 0u);  // the empty name wrote nothing there
    EXPECT_EQ(ValueCount(packages.KeyPath("Studio Pack Pro")), 1u);

    std::string tooLong(300, 'a');
    EXPECT_FALSE(UpdateStore(tooLong.c_str(), "1.0", nullptr, kUpdateRead, nullptr));
    EXPECT_FALSE(UpdateStore(nullptr, "1.0", nullptr, kUpdateRead, nullptr));
    EXPECT_FALSE(UpdateStore("Studio Pack", "1.0", nullptr, 4, nullptr));
    EXPECT_FALSE(UpdateStore("Studio Pack", "1.0", nullptr, -1, nullptr));
    EXPECT_TRUE(Has(kVersion));
}

TEST_F(UpdateStoreTest, FindsTheOnePackageAmongMany)
{
    char name[32];
    for (int i = 0; i < 40; ++i) {
        snprintf(name, sizeof(name), "Package %02d", i);
        packages.Add(name, "1.0");
    }
    char version[32] = "1.1";
    EXPECT_TRUE(UpdateStore("Package 27", nullptr, version, kUpdateStoreRecord, nullptr));
    for (int i = 0; i < 40; ++i) {
        snprintf(name, sizeof(name), "Package %02d", i);
        EXPECT_EQ(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath(name).c_str(), kVersion), i == 27) << name;
    }
    EXPECT_EQ(Raw(kVersion), "2.1");
}

TEST_F(UpdateStoreTest, ReadClearsARecordThatIsNoLongerNewer)
{
    char version[32] = {};
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.1", version, kUpdateRead, nullptr));
    EXPECT_TRUE(AllZero(version, sizeof(version)));
    EXPECT_FALSE(Has(kVersion));
    EXPECT_FALSE(Has(kUrl));
    EXPECT_TRUE(Has("Version"));

    // Older than installed, and unreadable as a version: cleared as well.
    for (const char* stored : {"1.9", "", "beta"}) {
        SetExact(packages, "Studio Pack", kVersion, stored, (DWORD)strlen(stored));
        SetExact(packages, "Studio Pack", kUrl, "u", 1);
        EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr)) << stored;
        EXPECT_FALSE(Has(kVersion)) << stored;
        EXPECT_FALSE(Has(kUrl)) << stored;
    }
}

TEST_F(UpdateStoreTest, ReadWithoutAStoredVersionChangesNothing)
{
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, path.c_str(), kVersion);
    char version[32] = {};
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");
}

TEST_F(UpdateStoreTest, ReadLimitIsTwentyBytes)
{
    // 21 bytes, newer than installed: counts as absent and stays stored.
    const char longer[] = "9.9.9.9.9.9.9.9.9.9.9";
    SetExact(packages, "Studio Pack", kVersion, longer, 21);
    char version[32] = {};
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_TRUE(AllZero(version, sizeof(version)));
    EXPECT_EQ(Raw(kVersion), longer);
    // The same when it is not newer: an unread value is never cleared.
    EXPECT_FALSE(UpdateStore("Studio Pack", "99", version, kUpdateRead, nullptr));
    EXPECT_EQ(Raw(kVersion), longer);

    // 20 bytes are read whole; with a stored NUL they are 21 again.
    const char twenty[] = "9.9.9.9.9.9.9.9.9.99";
    SetExact(packages, "Studio Pack", kVersion, twenty, 20);
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, twenty);
    SetExact(packages, "Studio Pack", kVersion, twenty, 21);
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", nullptr, kUpdateRead, nullptr));
    EXPECT_TRUE(Has(kVersion));

    // What the store writes, the read reads back, up to the limit.
    char stored[32] = "9.9.9.9.9.9.9.9.9.98";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, stored, kUpdateStoreRecord, nullptr));
    memset(version, 0, sizeof(version));
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, stored);
}

TEST_F(UpdateStoreTest, ReadIgnoresTheValueType)
{
    SetExact(packages, "Studio Pack", kVersion, "2.5\0junk", 8, REG_BINARY);
    char version[32] = {};
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, "2.5");
}

TEST_F(UpdateStoreTest, StoreKeepsTheAddressWhenNoneIsGiven)
{
    char version[32] = "2.2";
    char empty[256] = {};
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, empty));
    EXPECT_EQ(Raw(kVersion), "2.2");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");
    strcpy(version, "2.3");
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, nullptr));
    EXPECT_EQ(Raw(kVersion), "2.3");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");

    // An empty version writes nothing at all.
    char none[32] = {};
    char url[256] = "http://norvane.test/new";
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, none, kUpdateStoreRecord, url));
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateStoreRecord, url));
    EXPECT_EQ(Raw(kVersion), "2.3");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");
}

TEST(UpdateStore, StoreForAPackageThatIsNotInstalledCreatesNothing)
{
    char version[32] = "1.0";
    char url[256] = "http://norvane.test/";
    {
        ScopedPackages packages;
        packages.Add("Other");
        EXPECT_FALSE(UpdateStore("Missing", nullptr, version, kUpdateStoreRecord, url));
        EXPECT_FALSE(KeyExists(packages.KeyPath("Missing")));
        EXPECT_EQ(ValueCount(kTestPackagesPath), 0u);
        EXPECT_EQ(ValueCount(packages.KeyPath("Other")), 0u);
    }
    ScopedPackages none(false);
    EXPECT_FALSE(UpdateStore("Missing", nullptr, version, kUpdateStoreRecord, url));
    EXPECT_FALSE(UpdateStore("Missing", "0.1", version, kUpdateRead, nullptr));
    EXPECT_FALSE(KeyExists(kTestPackagesPath));
}

TEST_F(UpdateStoreTest, ReadAddressLeavesTheBufferZeroOnFailure)
{
    char url[256] = {};
    // Longer than 255 bytes: not read.
    std::string longer(256, 'h');
    SetExact(packages, "Studio Pack", kUrl, longer.data(), 256);
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_TRUE(AllZero(url, sizeof(url)));
    // Absent.
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, path.c_str(), kUrl);
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_TRUE(AllZero(url, sizeof(url)));
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, nullptr));

    // 255 bytes fit, and end inside the buffer; the store writes them so.
    std::string fits(255, 'a');
    char address[256];
    strcpy(address, fits.c_str());
    char version[32] = "2.2";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, address));
    EXPECT_EQ(Raw(kUrl), fits);
    memset(url, 0, sizeof(url));
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_EQ(std::string(url), fits);
    EXPECT_EQ(url[255], '\0');
}

TEST_F(UpdateStoreTest, ClearIsAlwaysFalse)
{
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateClear, nullptr));
    EXPECT_FALSE(Has(kVersion));
    EXPECT_FALSE(Has(kUrl));
    EXPECT_TRUE(Has("Version"));
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateClear, nullptr));
}
