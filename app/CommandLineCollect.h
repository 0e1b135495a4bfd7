// CommandLineCollect.h: the command line's flags "n" and "v" and the values they
// collect. Plain logic without windows.h, so that it can be fuzzed natively.
#pragma once

#include "framework/MultiByte.h"

#include <stddef.h>

// What the parser has collected so far; the two buffers are owned by the caller and
// always hold NUL-terminated text.
struct CommandLineCollector {
    bool* collectName;     // plain parameters are added to name
    bool* collectVersion;  // plain parameters replace version
    char* name;
    size_t nameSize;
    char* version;
    size_t versionSize;
};

// One argument, in order. "n" and "v" as flags (exact, case-sensitive) switch what is
// collected; any other argument, a flag's text included, is a value: appended to the
// name after one blank, or replacing the version, or ignored when nothing collects.
// Each buffer keeps at most size - 1 bytes; what does not fit is dropped, never part of
// a character.
void CollectCommandLineParam(const CommandLineCollector& c, const char* param, bool isFlag, const LeadBytes& lead);

// Appends text to the NUL-terminated dst of dstSize bytes, cut to fit on a character
// boundary.
void AppendBounded(char* dst, size_t dstSize, const char* text, const LeadBytes& lead);

// The program's ways of running, chosen by what the command line collected.
enum class RunMode {
    kNormal,     // no package named: the main window
    kPurchase,   // a package and a version: the purchase flow, no main window
    kQuickExit,  // a package without a version: the main window ends at once
};

RunMode ChooseRunMode(const char* packageName, const char* packageVersion);
