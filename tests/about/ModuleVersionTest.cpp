// ModuleVersionTest.cpp: version resources of real module files: the test program's
// own, and copies of a small program given hand-built resources.
#include "about/ModuleVersion.h"
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;
using Parts = std::vector<std::string>;

void PutWord(Bytes& out, WORD w)
{
    out.push_back((BYTE)(w & 0xFF));
    out.push_back((BYTE)(w >> 8));
}

// One VS_VERSIONINFO node in its UTF-16 form: header, key, value, children.
Bytes Node(const char* key, const Bytes& value, WORD valueLength, WORD type, const std::vector<Bytes>& children)
{
    Bytes out(6, 0);
    for (const char* c = key; *c; ++c)
        PutWord(out, (BYTE)*c);
    PutWord(out, 0);
    out.resize((out.size() + 3) & ~3u);
    out.insert(out.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        out.resize((out.size() + 3) & ~3u);
        out.insert(out.end(), child.begin(), child.end());
    }
    out[0] = (BYTE)out.size();
    out[1] = (BYTE)(out.size() >> 8);
    out[2] = (BYTE)valueLength;
    out[3] = (BYTE)(valueLength >> 8);
    out[4] = (BYTE)type;
    return out;
}

Bytes Table(const char* langCodePage, const char* fileVersion)
{
    Bytes text;
    for (const char* c = fileVersion; *c; ++c)
        PutWord(text, (BYTE)*c);
    PutWord(text, 0);
    return Node(langCodePage, {}, 0, 1, {Node("FileVersion", text, (WORD)(strlen(fileVersion) + 1), 1, {})});
}

// A resource with file version 3.4.5.6; fixedLength is what the root claims.
Bytes Resource(const std::vector<Bytes>& tables, const std::vector<WORD>& translation,
               WORD fixedLength = sizeof(VS_FIXEDFILEINFO))
{
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwFileVersionMS = 0x00030004;
    fixed.dwFileVersionLS = 0x00050006;
    Bytes value(reinterpret_cast<BYTE*>(&fixed), reinterpret_cast<BYTE*>(&fixed + 1));
    value.resize(fixedLength, 0x7A);
    std::vector<Bytes> children = {Node("StringFileInfo", {}, 0, 1, tables)};
    if (!translation.empty()) {
        Bytes pairs;
        for (WORD w : translation)
            PutWord(pairs, w);
        children.push_back(Node("VarFileInfo", {}, 0, 1, {Node("Translation", pairs, (WORD)pairs.size(), 0, {})}));
    }
    return Node("VS_VERSION_INFO", value, fixedLength, 0, children);
}

// A copy of the recorder (a program without a version resource), given resource.
std::string ModuleWith(const Bytes* resource)
{
    std::string path = MakeTempDir("module") + "module.exe";
    if (!CopyFileA((BinDir() + "firefox.exe").c_str(), path.c_str(), FALSE))
        return std::string();
    if (resource) {
        HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
        BOOL ok = update && UpdateResourceA(update, RT_VERSION, MAKEINTRESOURCEA(1), 0x409,
                                            const_cast<BYTE*>(resource->data()), (DWORD)resource->size());
        if (!update || !EndUpdateResourceA(update, !ok) || !ok)
            return std::string();
    }
    return path;
}

Parts PartsOf(const CModuleVersion& v)
{
    return {v.m_parts[0], v.m_parts[1], v.m_parts[2], v.m_parts[3]};
}

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
        EXPECT_EQ(VersionText(v), "2.0.33.0");  // the fixed part cannot hold build 70715

        v.Reset();  // keeps the path and the parts
        EXPECT_EQ(v.m_versionData, nullptr);
        EXPECT_EQ(VersionText(v), "Unknown");
        EXPECT_STREQ(v.m_parts[3], " 70715");
        EXPECT_EQ(v.ReadVersionInfo(), 1);
    }
}

TEST(ModuleVersion, ModulesWithoutAResourceAreUnknown)
{
    std::string bare = ModuleWith(nullptr);
    ASSERT_FALSE(bare.empty());
    for (const std::string& path : {bare, MakeTempDir("missing") + "absent.exe"}) {
        CModuleVersion v(path.c_str());
        EXPECT_EQ(v.m_valid, 0);
        EXPECT_EQ(VersionText(v), "Unknown");
        EXPECT_EQ(PartsOf(v), (Parts{"", "", "", ""}));
    }
}

TEST(ModuleVersion, BuiltResources)
{
    const std::vector<WORD> english = {0x0409, 0x04b0};
    struct Case {
        Bytes resource;
        Parts parts;
    } cases[] = {
        {Resource({Table("040904b0", "1.0.0.1")}, english), {"", "", "", ""}},
        {Resource({Table("040904b0", "9, 8, 7, 6, 5")}, english), {"9", " 8", " 7", ""}},
        {Resource({Table("040904b0", "123456789,22,33,4444444444")}, english), {"1234567", "22", "33", "4444444"}},
        // The first translation names the table: 0419 04b0 gives "041904b0".
        {Resource({Table("040904b0", "1,1,1,1"), Table("041904b0", "4,3,2,1")}, {0x0419, 0x04b0, 0x0409, 0x04b0}),
         {"4", "3", "2", "1"}},
        // No translation, or one naming no table: valid, no parts.
        {Resource({Table("040904b0", "1,1,1,1")}, {}), {"", "", "", ""}},
        {Resource({Table("040904b0", "1,1,1,1")}, {0x0407, 0x04e4}), {"", "", "", ""}},
        // A root claiming a longer fixed part than the structure: its excess, the
        // size of the parts, does not reach them.
        {Resource({Table("040904b0", "5,6")}, english, sizeof(VS_FIXEDFILEINFO) + sizeof(CModuleVersion::m_parts)),
         {"5", "", "", ""}},
    };
    for (const Case& c : cases) {
        std::string path = ModuleWith(&c.resource);
        ASSERT_FALSE(path.empty());
        CModuleVersion v(path.c_str());
        EXPECT_EQ(v.m_valid, 1) << c.parts[0];
        EXPECT_EQ(VersionText(v), "3.4.5.6");
        EXPECT_EQ(PartsOf(v), c.parts);
    }
}
