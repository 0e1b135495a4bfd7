// ProgramManifestTest.cpp: the application manifest that the real vantorix.exe embeds.
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The RT_MANIFEST resource 1 of module, as text; empty when there is none.
std::string ManifestOf(HMODULE module)
{
    HRSRC found = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    if (!found)
        return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

std::string WithoutComments(std::string xml)
{
    for (size_t open; (open = xml.find("<!--")) != std::string::npos;) {
        size_t close = xml.find("-->", open + 4);
        xml.erase(open, close == std::string::npos ? std::string::npos : close + 3 - open);
    }
    return xml;
}

}  // namespace

TEST(ProgramManifest, CommonControlsSixDpiAwareAndNoExecutionLevel)
{
    const std::string program = BinDir() + "vantorix.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program;
    const std::string manifest = WithoutComments(ManifestOf(module));
    FreeLibrary(module);
    ASSERT_FALSE(manifest.empty());

    const size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos) << manifest;
    const size_t identityEnd = manifest.find("/>", controls);
    const std::string identity = manifest.substr(controls, identityEnd - controls);
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos) << identity;
    EXPECT_NE(manifest.rfind("<dependentAssembly>", controls), std::string::npos);

    const size_t dpi = manifest.find("<dpiAware");
    ASSERT_NE(dpi, std::string::npos) << manifest;
    const size_t value = manifest.find('>', dpi);
    EXPECT_EQ(manifest.compare(value + 1, 5, "true<"), 0) << manifest.substr(dpi, 120);

    // Any requested execution level would take registry virtualization away.
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos) << manifest;

    // The loader's own parser accepts it, comments included.
    ACTCTXA context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = program.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE activation = CreateActCtxA(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << GetLastError();
    if (activation != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activation);
}
