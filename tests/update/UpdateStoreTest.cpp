// UpdateStoreTest.cpp: UpdateRecords in the registry of the test prefix.
#include "update/UpdateStore.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

const char kVersion[] = "UpdateVersion";
const char kUrl[] = "ProductUpdateUrl";

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
    return std::string(buffer, size) == std::string(size, '\0');
}

// One package with a record as an earlier check leaves it.
class UpdateStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        packages.Add("Studio Pack", "2.0");
        SetExact(kVersion, "2.1", 3);
        SetExact(kUrl, "http://norvane.test/2.1", 23);
    }
    // Exactly size bytes. RegSetValueExA counts a NUL that follows string data, so the
    // copy ends in a non-zero byte.
    void SetExact(const char* value, const char* text, DWORD size, DWORD type = REG_SZ)
    {
        std::string data(text, size);
        data.push_back('\x01');
        packages.SetRaw("Studio Pack", value, type, data.data(), size);
    }
    std::string Raw(const char* value) const { return ReadRawValue(HKEY_LOCAL_MACHINE, path.c_str(), value); }
    bool Has(const char* value) const { return ValueExists(HKEY_LOCAL_MACHINE, path.c_str(), value); }

    ScopedPackages packages;
    std::string path = packages.KeyPath("Studio Pack");
};

}  // namespace

TEST_F(UpdateStoreTest, StoresReadsAndClearsTheRecord)
{
    for (int i = 0; i < 30; ++i)
        packages.Add(("Package " + std::to_string(i)).c_str(), "1.0");
    char url[256] = "http://norvane.test/3.0";
    char version[32] = "3.0";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, url));
    EXPECT_EQ(Raw(kVersion), "3.0");  // the characters, no NUL
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/3.0");
    EXPECT_TRUE(UpdateStore("Package 17", nullptr, version, kUpdateStoreRecord, nullptr));
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(ValueCount(packages.KeyPath(("Package " + std::to_string(i)).c_str())), i == 17 ? 2u : 1u);

    char read[32];
    memset(read, 'Z', sizeof(read));
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", read, kUpdateRead, nullptr));
    EXPECT_STREQ(read, "3.0");
    EXPECT_EQ(read[4], 'Z');  // the text and its NUL, nothing more
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", nullptr, kUpdateRead, nullptr));
    char address[256] = {};
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, address));
    EXPECT_STREQ(address, "http://norvane.test/3.0");

    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateClear, nullptr));
    EXPECT_FALSE(Has(kVersion) || Has(kUrl));
    EXPECT_TRUE(Has("Version"));
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateClear, nullptr));
    EXPECT_FALSE(UpdateStore("Studio Pack", "1.0", nullptr, 4, nullptr));
}

TEST_F(UpdateStoreTest, OnlyTheExactSubkeyNameIsFound)
{
    std::string nested = path + "\\Addon";
    SetRawValue(HKEY_LOCAL_MACHINE, nested.c_str(), kVersion, REG_SZ, "1.5", 4);
    packages.Add("Studio Pack Pro", "1.0");
    std::string tooLong(300, 'a');
    for (const char* name : {"studio pack", "STUDIO PACK", "Studio pack", "Studio Pack\\Addon", "\\Studio Pack",
                             "Studio Pack\\", "Studio Pack\\..", "Studio", "Studio Pack ", "", tooLong.c_str()}) {
        SCOPED_TRACE(name);
        char version[32] = {};
        EXPECT_FALSE(UpdateStore(name, "2.1", version, kUpdateRead, nullptr));  // would clear
        EXPECT_FALSE(UpdateStore(name, "1.0", version, kUpdateRead, nullptr));
        EXPECT_TRUE(AllZero(version, sizeof(version)));
        char newer[32] = "9.0";
        EXPECT_FALSE(UpdateStore(name, nullptr, newer, kUpdateStoreRecord, newer));
        EXPECT_FALSE(UpdateStore(name, nullptr, nullptr, kUpdateClear, nullptr));
        char url[256] = {};
        EXPECT_FALSE(UpdateStore(name, nullptr, nullptr, kUpdateReadAddress, url));
        EXPECT_TRUE(AllZero(url, sizeof(url)));
    }
    EXPECT_FALSE(UpdateStore(nullptr, "1.0", nullptr, kUpdateRead, nullptr));
    EXPECT_EQ(Raw(kVersion), "2.1");
    EXPECT_EQ(Raw(kUrl), "http://norvane.test/2.1");
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, nested.c_str(), kVersion), std::string("1.5", 4));
    EXPECT_EQ(ValueCount(kTestPackagesPath), 0u);
    EXPECT_EQ(ValueCount(packages.KeyPath("Studio Pack Pro")), 1u);
}

TEST_F(UpdateStoreTest, ReadClearsARecordThatIsNoLongerNewer)
{
    char version[32] = {};
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.1", version, kUpdateRead, nullptr));
    EXPECT_TRUE(AllZero(version, sizeof(version)));
    EXPECT_FALSE(Has(kVersion) || Has(kUrl));
    for (const char* stored : {"1.9", "", "beta"}) {
        SetExact(kVersion, stored, (DWORD)strlen(stored));
        SetExact(kUrl, "u", 1);
        EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr)) << stored;
        EXPECT_FALSE(Has(kVersion) || Has(kUrl)) << stored;
    }
    // An address alone is left in place.
    SetExact(kUrl, "u", 1);
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_EQ(Raw(kUrl), "u");
}

TEST_F(UpdateStoreTest, ReadsAtMostTwentyBytesOfAnyType)
{
    const char longer[] = "9.9.9.9.9.9.9.9.9.9.9";  // 21 bytes: absent, and never cleared
    SetExact(kVersion, longer, 21);
    char version[32] = {};
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_FALSE(UpdateStore("Studio Pack", "99", version, kUpdateRead, nullptr));
    EXPECT_TRUE(AllZero(version, sizeof(version)));
    EXPECT_EQ(Raw(kVersion), longer);

    const char twenty[] = "9.9.9.9.9.9.9.9.9.99";
    SetExact(kVersion, twenty, 21);  // with its NUL: 21 bytes
    EXPECT_FALSE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    SetExact(kVersion, twenty, 20);
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, twenty);

    // What the store writes, the read reads back.
    char stored[32] = "9.9.9.9.9.9.9.9.9.98";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, stored, kUpdateStoreRecord, nullptr));
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, stored);

    SetExact(kVersion, "2.5\0junk", 8, REG_BINARY);
    EXPECT_TRUE(UpdateStore("Studio Pack", "2.0", version, kUpdateRead, nullptr));
    EXPECT_STREQ(version, "2.5");
}

TEST_F(UpdateStoreTest, StoreWithoutAnAddressKeepsTheOldOne)
{
    char version[32] = "2.2";
    char empty[256] = {};
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, empty));
    EXPECT_EQ(Raw(kVersion), "2.2");
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

TEST_F(UpdateStoreTest, ReadAddressLeavesTheBufferZeroOnFailure)
{
    char url[256] = {};
    SetExact(kUrl, std::string(256, 'h').c_str(), 256);
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_TRUE(AllZero(url, sizeof(url)));
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, path.c_str(), kUrl);
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_TRUE(AllZero(url, sizeof(url)));
    EXPECT_FALSE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, nullptr));

    // 255 bytes are stored as they are, and read back ending inside the buffer.
    std::string fits(255, 'a');
    char address[256];
    strcpy(address, fits.c_str());
    char version[32] = "2.2";
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, version, kUpdateStoreRecord, address));
    EXPECT_TRUE(UpdateStore("Studio Pack", nullptr, nullptr, kUpdateReadAddress, url));
    EXPECT_EQ(std::string(url), fits);
}

TEST(UpdateStore, StoreForAPackageThatIsNotInstalledCreatesNothing)
{
    char version[32] = "1.0";
    char url[256] = "http://norvane.test/";
    {
        ScopedPackages packages;
        packages.Add("Other");
        EXPECT_FALSE(UpdateStore("Missing", nullptr, version, kUpdateStoreRecord, url));
        EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, packages.KeyPath("Missing").c_str(), kVersion));
        HKEY key;
        EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, packages.KeyPath("Missing").c_str(), &key), ERROR_SUCCESS);
        EXPECT_EQ(ValueCount(packages.KeyPath("Other")), 0u);
    }
    ScopedPackages none(false);
    EXPECT_FALSE(UpdateStore("Missing", nullptr, version, kUpdateStoreRecord, url));
    HKEY key;
    EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kTestPackagesPath, &key), ERROR_SUCCESS);
}
