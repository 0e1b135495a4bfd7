// CommandLineCollect.cpp: collecting the package name and version from arguments.
#include "app/CommandLineCollect.h"

#include <string.h>

void AppendBounded(char* dst, size_t dstSize, const char* text, const LeadBytes& lead)
{
    if (!dst || dstSize == 0 || !text)
        return;
    size_t used = strnlen(dst, dstSize - 1);
    // One byte past the room tells whether the last byte that fits leads a character.
    CopyCharPrefix(dst + used, dstSize - used, text, strnlen(text, dstSize - used), lead);
}

void CollectCommandLineParam(const CommandLineCollector& c, const char* param, bool isFlag, const LeadBytes& lead)
{
    if (!param)
        return;
    if (isFlag && strcmp(param, "n") == 0) {
        *c.collectName = true;
        *c.collectVersion = false;
        return;
    }
    if (isFlag && strcmp(param, "v") == 0) {
        *c.collectVersion = true;
        *c.collectName = false;
        return;
    }
    if (*c.collectName && c.nameSize) {
        if (c.name[0] != '\0')
            AppendBounded(c.name, c.nameSize, " ", lead);
        AppendBounded(c.name, c.nameSize, param, lead);
    } else if (*c.collectVersion && c.versionSize) {
        c.version[0] = '\0';
        AppendBounded(c.version, c.versionSize, param, lead);
    }
}

RunMode ChooseRunMode(const char* packageName, const char* packageVersion)
{
    if (!packageName || packageName[0] == '\0')
        return RunMode::kNormal;
    if (packageVersion && packageVersion[0] != '\0')
        return RunMode::kPurchase;
    return RunMode::kQuickExit;
}
