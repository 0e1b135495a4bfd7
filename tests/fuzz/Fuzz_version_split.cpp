// Fuzz_version_split.cpp: splitting a "FileVersion" text into its four parts.
#include "about/VersionSplit.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion(text.c_str(), parts);
    for (auto& part : parts)
        if (strnlen(part, kVersionPartSize) >= kVersionPartSize)
            abort();
    return 0;
}
