// PackageRegistryTest.cpp: the walk of the Packages key and the package value reads,
// against the registry of the test prefix.
#include "packages/PackageRegistry.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char kPkg[] = "Studio Pack";

std::vector<std::string> Walk(DWORD nameSize)
{
    std::vector<std::string> names;
    HKEY packages = OpenPackagesKey(kPackagesWalkPath);
    if (!packages)
        return names;
    std::vector<char> name(nameSize);
    for (DWORD i = 0; EnumPackages(packages, i, name.data(), nameSize); ++i)
        names.push_back(name.data());
    RegCloseKey(packages);
    return names;
}

// Opens the one seeded package the way the walks do.
class PackageKey {
public:
    explicit PackageKey(const char* name)
    {
        m_packages = OpenPackagesKey(kPackagesPath);
        m_key = OpenPackageKey(m_packages, name);
    }
    ~PackageKey()
    {
        if (m_key)
            RegCloseKey(m_key);
        if (m_packages)
            RegCloseKey(m_packages);
    }
    operator HKEY() const { return m_key; }

private:
    HKEY m_packages;
    HKEY m_key;
};

bool HiddenWith(DWORD type, const void* data, DWORD size)
{
    ScopedPackages scope;
    scope.Add(kPkg);
    scope.SetRaw(kPkg, "Hide", type, data, size);
    PackageKey key(kPkg);
    EXPECT_NE(static_cast<HKEY>(key), nullptr);
    return ReadHideFlag(key);
}

std::string VersionWith(DWORD type, const void* data, DWORD size)
{
    ScopedPackages scope;
    scope.Add(kPkg);
    if (data)
        scope.SetRaw(kPkg, "Version", type, data, size);
    PackageKey key(kPkg);
    char version[kVersionFieldSize];
    memset(version, 'x', sizeof(version));
    ReadPackageVersion(key, version);
    return version;
}

}  // namespace

TEST(PackageRegistry, WalkYieldsNamesInRegistryOrderAndNothingWithoutTheKey)
{
    {
        ScopedPackages scope(false);
        EXPECT_EQ(OpenPackagesKey(kPackagesWalkPath), nullptr);
        EXPECT_TRUE(Walk(kWalkNameSize).empty());
        char name[kWalkNameSize] = "stale";
        EXPECT_FALSE(EnumPackages(nullptr, 0, name, sizeof(name)));
        EXPECT_STREQ(name, "");
        // Nothing creates the key.
        HKEY probe = nullptr;
        EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kPackagesPath, &probe), ERROR_SUCCESS);
    }
    ScopedPackages scope;
    EXPECT_TRUE(Walk(kWalkNameSize).empty());
    scope.Add("Beta", "1.0");
    scope.Add("Alpha", "2.0");
    scope.Add("Gamma Suite");
    std::vector<std::string> names = Walk(kWalkNameSize);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "Alpha");
    EXPECT_EQ(names[1], "Beta");
    EXPECT_EQ(names[2], "Gamma Suite");
    EXPECT_EQ(Walk(kUpdateRecordNameSize), names);
}

TEST(PackageRegistry, NameThatDoesNotFitEndsTheShortWalkOnly)
{
    ScopedPackages scope;
    std::string longName = "M" + std::string(254, 'x');
    ASSERT_EQ(longName.size(), 255u);
    // 254 characters still fit the 255-byte walk.
    std::string fits = "L" + std::string(253, 'y');
    scope.Add("Alpha");
    scope.Add("Zeta");
    // Created relative to the Packages key: the ANSI registry functions take full paths
    // of at most 259 characters only.
    HKEY packages = CreateKeyForTest(HKEY_LOCAL_MACHINE, kTestPackagesPath);
    ASSERT_NE(packages, nullptr);
    for (const std::string* name : {&longName, &fits}) {
        HKEY key = CreateKeyForTest(packages, name->c_str());
        ASSERT_NE(key, nullptr);
        RegCloseKey(key);
    }
    RegCloseKey(packages);

    std::vector<std::string> shortWalk = Walk(kWalkNameSize);
    ASSERT_EQ(shortWalk.size(), 2u);
    EXPECT_EQ(shortWalk[0], "Alpha");
    EXPECT_EQ(shortWalk[1], fits);

    std::vector<std::string> longWalk = Walk(kUpdateRecordNameSize);
    ASSERT_EQ(longWalk.size(), 4u);
    EXPECT_EQ(longWalk[2], longName);
    EXPECT_EQ(longWalk[3], "Zeta");
}

TEST(PackageRegistry, PackageKeysOpenRelativeToThePackagesKey)
{
    ScopedPackages scope;
    scope.Add(kPkg, "2.0.33");
    HKEY packages = OpenPackagesKey(kPackagesWalkPath);
    ASSERT_NE(packages, nullptr);
    EXPECT_EQ(OpenPackageKey(packages, "Missing"), nullptr);
    EXPECT_EQ(OpenPackageKey(packages, ""), nullptr);
    EXPECT_EQ(OpenPackageKey(nullptr, kPkg), nullptr);
    HKEY key = OpenPackageKey(packages, kPkg);
    ASSERT_NE(key, nullptr);
    char version[kVersionFieldSize];
    ReadPackageVersion(key, version);
    EXPECT_STREQ(version, "2.0.33");
    RegCloseKey(key);
    // The Packages key stays usable after the package key is closed.
    char name[kWalkNameSize];
    EXPECT_TRUE(EnumPackages(packages, 0, name, sizeof(name)));
    EXPECT_STREQ(name, kPkg);
    RegCloseKey(packages);

    // A key that cannot be opened reads as a key without values.
    char company[256];
    char text[256];
    EXPECT_FALSE(ReadHideFlag(nullptr));
    ReadPackageVersion(nullptr, version);
    EXPECT_STREQ(version, "");
    ReadCompanyName(nullptr, company);
    EXPECT_STREQ(company, "Norvane Ltd");
    EXPECT_FALSE(ReadTextValue(nullptr, "EULA", text, sizeof(text)));
    EXPECT_STREQ(text, "");
}

TEST(PackageRegistry, HideAsText)
{
    EXPECT_TRUE(HiddenWith(REG_SZ, "1", 2));
    EXPECT_TRUE(HiddenWith(REG_SZ, "1", 1));  // without its terminating zero
    EXPECT_FALSE(HiddenWith(REG_SZ, "0", 2));
    EXPECT_FALSE(HiddenWith(REG_SZ, "yes", 4));
    EXPECT_FALSE(HiddenWith(REG_SZ, "01", 3));
    EXPECT_FALSE(HiddenWith(REG_SZ, "", 1));
}

TEST(PackageRegistry, HideAsBinaryOtherTypesAndAbsent)
{
    const unsigned char one[] = {1};
    const unsigned char oneZero[] = {1, 0};
    const unsigned char zero[] = {0};
    const unsigned char two[] = {2};
    const unsigned char ff[] = {0xFF};
    const unsigned char tooLong[] = {1, 0, 0};
    EXPECT_TRUE(HiddenWith(REG_BINARY, one, 1));
    EXPECT_TRUE(HiddenWith(REG_BINARY, oneZero, 2));
    EXPECT_FALSE(HiddenWith(REG_BINARY, zero, 1));
    EXPECT_FALSE(HiddenWith(REG_BINARY, two, 1));
    EXPECT_FALSE(HiddenWith(REG_BINARY, ff, 1));
    EXPECT_FALSE(HiddenWith(REG_BINARY, tooLong, 3));
    EXPECT_FALSE(HiddenWith(REG_BINARY, one, 0));
    DWORD dword = 1;
    EXPECT_FALSE(HiddenWith(REG_DWORD, &dword, sizeof(dword)));

    ScopedPackages scope;
    scope.Add(kPkg, "1.0");
    PackageKey key(kPkg);
    EXPECT_FALSE(ReadHideFlag(key));
}

TEST(PackageRegistry, VersionReadWholeOrCutToTheField)
{
    EXPECT_EQ(VersionWith(REG_SZ, nullptr, 0), "");
    EXPECT_EQ(VersionWith(REG_SZ, "", 0), "");
    EXPECT_EQ(VersionWith(REG_SZ, "", 1), "");
    EXPECT_EQ(VersionWith(REG_SZ, "2.0.33", 7), "2.0.33");
    EXPECT_EQ(VersionWith(REG_SZ, "2.0.33", 6), "2.0.33");  // no terminating zero
    // The text ends at the first zero; the type is not checked.
    EXPECT_EQ(VersionWith(REG_BINARY, "1.5\0junk", 8), "1.5");
    std::string v31 = "1.2.3.4.5.6.7.8.9.10.11.12.1314";
    ASSERT_EQ(v31.size(), 31u);
    EXPECT_EQ(VersionWith(REG_SZ, v31.c_str(), 32), v31);
    std::string v40 = v31 + ".15.16.17";
    ASSERT_EQ(v40.size(), 40u);
    EXPECT_EQ(VersionWith(REG_SZ, v40.c_str(), 41), v31);
}

TEST(PackageRegistry, TextValuesTakeTheirBufferAndDefaults)
{
    ScopedPackages scope;
    scope.Add(kPkg, "1.0");
    std::string url1023 = "http://example.invalid/" + std::string(1000, 'u');
    ASSERT_EQ(url1023.size(), 1023u);
    scope.SetString(kPkg, "ProductURL", url1023.c_str());
    scope.SetString(kPkg, "EULA", "");
    scope.SetString(kPkg, "Reseller", "RegNow");
    scope.SetRaw(kPkg, "InstallProject", REG_SZ, "Setup.ism", 9);  // no terminating zero
    PackageKey key(kPkg);

    std::vector<char> url(1024, 'z');
    EXPECT_TRUE(ReadTextValue(key, "ProductURL", url.data(), 1024));
    EXPECT_EQ(std::string(url.data()), url1023);

    char text[256];
    EXPECT_TRUE(ReadTextValue(key, "EULA", text, sizeof(text)));
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(ReadTextValue(key, "InstallProject", text, sizeof(text)));
    EXPECT_STREQ(text, "Setup.ism");
    // A shorter value read into the same buffer after a longer one ends at its own end.
    EXPECT_TRUE(ReadTextValue(key, "Reseller", text, sizeof(text)));
    EXPECT_STREQ(text, "RegNow");
    EXPECT_FALSE(ReadTextValue(key, "Missing", text, sizeof(text)));
    EXPECT_STREQ(text, "");
    // Data that fills the buffer without a zero is cut at the buffer's last byte.
    char small[4];
    scope.SetRaw(kPkg, "Exact", REG_BINARY, "abcd", 4);
    EXPECT_TRUE(ReadTextValue(key, "Exact", small, sizeof(small)));
    EXPECT_STREQ(small, "abc");

    std::string url1024 = url1023 + "v";
    scope.SetString(kPkg, "ProductURL", url1024.c_str());
    EXPECT_FALSE(ReadTextValue(key, "ProductURL", url.data(), 1024));
    EXPECT_STREQ(url.data(), "");
}

TEST(PackageRegistry, CompanyNameDefaults)
{
    ScopedPackages scope;
    scope.Add(kPkg, "1.0");
    PackageKey key(kPkg);
    char company[256];

    ReadCompanyName(key, company);
    EXPECT_STREQ(company, "Norvane Ltd");

    scope.SetRaw(kPkg, "CompanyName", REG_SZ, "", 0);
    ReadCompanyName(key, company);
    EXPECT_STREQ(company, "Norvane Ltd");

    scope.SetString(kPkg, "CompanyName", "");
    ReadCompanyName(key, company);
    EXPECT_STREQ(company, "");

    scope.SetString(kPkg, "CompanyName", "Acme Tools");
    ReadCompanyName(key, company);
    EXPECT_STREQ(company, "Acme Tools");

    std::string tooLong(256, 'c');
    scope.SetString(kPkg, "CompanyName", tooLong.c_str());
    ReadCompanyName(key, company);
    EXPECT_STREQ(company, "Norvane Ltd");
}
