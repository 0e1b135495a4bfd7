// ScriptedCommand.h: the command line's flags for scripts: /check, /list FILE,
// /report FILE and /?. Plain logic without windows.h, so that it can be fuzzed natively.
//
// The flags count only while nothing collects, that is before any "n" or "v"; after
// one they are values as every other flag is, so "/n Studio /report" names the package
// "Studio report".
#pragma once

#include <string>

struct ScriptedCommand {
    bool scripted = false;  // a flag of this kind was given: no window, no guard
    bool usage = false;     // /?: the usage, shown to the person who typed it
    bool check = false;
    bool list = false;
    bool report = false;
    std::string listFile;
    std::string reportFile;
    std::string error;      // the first fault of the command line; empty when none

    // Parsing state.
    int pendingFile = 0;     // kList or kReport while its FILE is awaited
    bool collecting = false; // "n" or "v" seen
    enum { kList = 1, kReport = 2 };
};

// One argument in order (param without its leading '/' or '-' when isFlag). True when
// it belongs to the scripted command, a flag or its FILE, and so is no value for "n"
// and "v".
bool TakeScriptedParam(ScriptedCommand& command, const char* param, bool isFlag);

// After the last argument: a FILE still awaited is a fault.
void FinishScriptedCommand(ScriptedCommand& command);
