// ModuleVersionTest.cpp: reading version resources of real module files: the test
// program's own, and copies of a small program given hand-built resources.
#include "about/ModuleVersion.h"
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// One node of a VS_VERSIONINFO tree in its 32-bit (UTF-16) form.
struct VersionNode {
    std::string key;
    std::vector<BYTE> value;
    WORD valueLength;  // in bytes for binary values, in characters for texts
    WORD type;         // 1 text, 0 binary
    std::vector<VersionNode> children;
};

void Align4(std::vector<BYTE>& out)
{
    while (out.size() % 4)
        out.push_back(0);
}

void PutWord(std::vector<BYTE>& out, WORD w)
{
    out.push_back((BYTE)(w & 0xFF));
    out.push_back((BYTE)(w >> 8));
}

std::vector<BYTE> Serialize(const VersionNode& node)
{
    std::vector<BYTE> out(6, 0);
    for (char c : node.key)
        PutWord(out, (BYTE)c);
    PutWord(out, 0);
    Align4(out);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const VersionNode& child : node.children) {
        Align4(out);
        std::vector<BYTE> bytes = Serialize(child);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    WORD length = (WORD)out.size();
    out[0] = (BYTE)(length & 0xFF);
    out[1] = (BYTE)(length >> 8);
    out[2] = (BYTE)(node.valueLength & 0xFF);
    out[3] = (BYTE)(node.valueLength >> 8);
    out[4] = (BYTE)node.type;
    return out;
}

VersionNode TextNode(const std::string& key, const std::string& text)
{
    VersionNode n{key, {}, (WORD)(text.size() + 1), 1, {}};
    for (char c : text)
        PutWord(n.value, (BYTE)c);
    PutWord(n.value, 0);
    return n;
}

VersionNode StringTable(const std::string& langCodePage, const std::string& fileVersion)
{
    return VersionNode{langCodePage, {}, 0, 1, {TextNode("CompanyName", "Norvane Ltd"),
                                                TextNode("FileVersion", fileVersion)}};
}

struct ResourceSpec {
    WORD fixedLength = sizeof(VS_FIXEDFILEINFO);  // what the root claims
    DWORD fileVersionMS = 0x00030004;
    DWORD fileVersionLS = 0x00050006;
    std::vector<VersionNode> tables;
    std::vector<WORD> translation = {0x0409, 0x04b0};
    bool withTranslation = true;
};

std::vector<BYTE> BuildResource(const ResourceSpec& spec)
{
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    fixed.dwFileVersionMS = spec.fileVersionMS;
    fixed.dwFileVersionLS = spec.fileVersionLS;
    VersionNode root{"VS_VERSION_INFO", {}, spec.fixedLength, 0, {}};
    const BYTE* f = reinterpret_cast<const BYTE*>(&fixed);
    root.value.assign(f, f + sizeof(fixed));
    // A claimed length beyond the structure is backed by filler bytes in the block.
    while (root.value.size() < spec.fixedLength)
        root.value.push_back(0x7A);
    root.children.push_back(VersionNode{"StringFileInfo", {}, 0, 1, spec.tables});
    if (spec.withTranslation) {
        VersionNode var{"Translation", {}, (WORD)(spec.translation.size() * 2), 0, {}};
        for (WORD w : spec.translation)
            PutWord(var.value, w);
        root.children.push_back(VersionNode{"VarFileInfo", {}, 0, 1, {var}});
    }
    return Serialize(root);
}

// A copy of the recorder (a program without a version resource), given resource.
std::string ModuleWith(const char* tag, const std::vector<BYTE>* resource)
{
    std::string path = MakeTempDir(tag) + "module.exe";
    if (!CopyFileA((BinDir() + "firefox.exe").c_str(), path.c_str(), FALSE))
        return std::string();
    if (resource) {
        HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
        if (!update)
            return std::string();
        BOOL ok = UpdateResourceA(update, RT_VERSION, MAKEINTRESOURCEA(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                  const_cast<BYTE*>(resource->data()), (DWORD)resource->size());
        if (!EndUpdateResourceA(update, !ok) || !ok)
            return std::string();
    }
    return path;
}

std::vector<std::string> PartsOf(const CModuleVersion& v)
{
    return {v.m_parts[0], v.m_parts[1], v.m_parts[2], v.m_parts[3]};
}

using Parts = std::vector<std::string>;

std::string VersionText(const CModuleVersion& v)
{
    char text[CModuleVersion::kFileVersionTextSize];
    return v.GetFileVersionText(text);
}

}  // namespace

TEST(ModuleVersion, OwnProgramResource)
{
    for (const char* path : {static_cast<const char*>(nullptr), ""}) {
        CModuleVersion v(path);
        ASSERT_NE(v.m_path, nullptr);
        EXPECT_EQ(std::string(v.m_path), BinDir() + "test_about.exe");
        EXPECT_EQ(v.m_valid, 1);
        EXPECT_EQ(PartsOf(v), (Parts{"2", " 0", " 33", " 70715"}));
        EXPECT_EQ(VersionText(v), "2.0.33.0");
    }
    char* own = CModuleVersion::GetOwnModulePath();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(std::string(own), BinDir() + "test_about.exe");
    delete[] own;
}

TEST(ModuleVersion, ModulesWithoutAResourceAreUnknown)
{
    std::string bare = ModuleWith("bare", nullptr);
    ASSERT_FALSE(bare.empty());
    for (const std::string& path : {bare, MakeTempDir("missing") + "absent.exe"}) {
        CModuleVersion v(path.c_str());
        EXPECT_EQ(std::string(v.m_path), path);
        EXPECT_EQ(v.m_valid, 0);
        EXPECT_EQ(v.m_versionData, nullptr);
        EXPECT_EQ(VersionText(v), "Unknown");
        EXPECT_EQ(PartsOf(v), (Parts{"", "", "", ""}));
    }
}

TEST(ModuleVersion, FixedPartAndTextsOfBuiltResources)
{
    struct Case {
        const char* text;
        Parts parts;
    } cases[] = {
        {"1.0.0.1", {"", "", "", ""}},
        {"1,2,3", {"1", "2", "", ""}},
        {"9, 8, 7, 6, 5", {"9", " 8", " 7", ""}},
        {"123456789,22,33,4444444444", {"1234567", "22", "33", "4444444"}},
    };
    for (const Case& c : cases) {
        ResourceSpec spec;
        spec.tables = {StringTable("040904b0", c.text)};
        std::vector<BYTE> resource = BuildResource(spec);
        std::string path = ModuleWith("built", &resource);
        ASSERT_FALSE(path.empty());
        CModuleVersion v(path.c_str());
        EXPECT_EQ(v.m_valid, 1) << c.text;
        EXPECT_EQ(VersionText(v), "3.4.5.6") << c.text;
        EXPECT_EQ(PartsOf(v), c.parts) << c.text;
    }
}

TEST(ModuleVersion, FirstTranslationNamesTheStringTable)
{
    ResourceSpec spec;
    spec.tables = {StringTable("040904b0", "1,1,1,1"), StringTable("041904b0", "4,3,2,1")};
    spec.translation = {0x0419, 0x04b0, 0x0409, 0x04b0};
    std::vector<BYTE> resource = BuildResource(spec);
    std::string path = ModuleWith("translation", &resource);
    ASSERT_FALSE(path.empty());
    CModuleVersion v(path.c_str());
    EXPECT_EQ(PartsOf(v), (Parts{"4", "3", "2", "1"}));

    // No translation table, or one naming a missing table: valid, no parts.
    spec.withTranslation = false;
    resource = BuildResource(spec);
    path = ModuleWith("notranslation", &resource);
    CModuleVersion none(path.c_str());
    EXPECT_EQ(none.m_valid, 1);
    EXPECT_EQ(PartsOf(none), (Parts{"", "", "", ""}));

    spec.withTranslation = true;
    spec.translation = {0x0407, 0x04e4};
    resource = BuildResource(spec);
    path = ModuleWith("othertranslation", &resource);
    CModuleVersion other(path.c_str());
    EXPECT_EQ(other.m_valid, 1);
    EXPECT_EQ(VersionText(other), "3.4.5.6");
    EXPECT_EQ(PartsOf(other), (Parts{"", "", "", ""}));
}

TEST(ModuleVersion, OversizedFixedPartStaysInItsField)
{
    ResourceSpec spec;
    // The claimed excess covers exactly the parts that follow the field.
    spec.fixedLength = sizeof(VS_FIXEDFILEINFO) + sizeof(CModuleVersion::m_parts);
    spec.tables = {StringTable("040904b0", "5,6")};
    std::vector<BYTE> resource = BuildResource(spec);
    std::string path = ModuleWith("oversized", &resource);
    ASSERT_FALSE(path.empty());
    CModuleVersion v(path.c_str());
    EXPECT_EQ(v.m_valid, 1);
    EXPECT_EQ(VersionText(v), "3.4.5.6");
    EXPECT_EQ(PartsOf(v), (Parts{"5", "", "", ""}));
}

TEST(ModuleVersion, ResetKeepsPathAndParts)
{
    CModuleVersion v;
    v.Reset();
    EXPECT_EQ(v.m_valid, 0);
    EXPECT_EQ(v.m_versionData, nullptr);
    EXPECT_EQ(v.m_fixedInfo.dwFileVersionMS, 0u);
    EXPECT_EQ(VersionText(v), "Unknown");
    EXPECT_NE(v.m_path, nullptr);
    EXPECT_STREQ(v.m_parts[3], " 70715");
    EXPECT_EQ(v.ReadVersionInfo(), 1);
    EXPECT_NE(v.m_versionData, nullptr);
}
