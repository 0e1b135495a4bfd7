// Fuzz_versions.cpp: version comparison; input is "installed\ncandidate".
#include "update/VersionCompare.h"
#include <stdint.h>
#include <stdlib.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t cut = text.find('\n');
    std::string installed = text.substr(0, cut);
    std::string candidate = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    installed = installed.c_str();  // as NUL-terminated texts
    candidate = candidate.c_str();
    bool newer = CompareVersions(installed.c_str(), candidate.c_str());
    // A version is never newer than itself, and never both ways.
    if (CompareVersions(installed.c_str(), installed.c_str()))
        abort();
    if (newer && CompareVersions(candidate.c_str(), installed.c_str()))
        abort();
    return 0;
}
