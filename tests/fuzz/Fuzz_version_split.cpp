// Fuzz_version_split.cpp: splitting a "FileVersion" text into its four parts, in a
// single-byte code page and in 932.
#include "about/VersionSplit.h"
#include "tests/fuzz/FuzzCodePage.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const LeadBytes lead = FuzzLeadBytes(data, size);
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(strlen(text.c_str()));
    char parts[kVersionPartCount][kVersionPartSize] = {};
    SplitFileVersion(text.c_str(), parts, lead);
    for (auto& part : parts) {
        if (strnlen(part, kVersionPartSize) >= kVersionPartSize)
            abort();
        if (EndsInsideChar(part, lead) && !EndsInsideChar(text, lead))
            abort();
    }
    return 0;
}
