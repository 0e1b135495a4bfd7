// ScriptedCommand.h: the command line's flags for scripts: /check, /list FILE,
// /report FILE, /proxy PROXY|direct and /? (also /help, /h, --help and the like). Plain
// logic without windows.h, so that it can be fuzzed natively.
//
// The flags match in any letter case, after '/' or '-' ("--check", "--list", "--report"
// and "--proxy" as well), and count only while nothing collects, that is
// before any "n" or "v"; after one they are values as every other flag is, so
// "/n Studio /report" names the package "Studio report". A line that holds one of
// them is strict: every argument before any "n" or "v" must be such a flag or its
// value. A line without one keeps every other argument's old meaning.
#pragma once

#include "update/ProxyRule.h"

#include <string>

struct ScriptedCommand {
    bool scripted = false;  // a flag of this kind was given: no window, no guard
    bool usage = false;     // /?: the usage, shown to the person who typed it
    bool check = false;
    bool list = false;
    bool report = false;
    bool proxyGiven = false;
    std::string listFile;
    std::string reportFile;
    ProxyRule proxy;        // kBrowserOrMachine unless /proxy names one
    std::string error;      // the first fault of the command line; empty when none
    bool usageHint = false; // the fault is followed by where to find the usage

    // Parsing state.
    int pendingValue = 0;    // kList, kReport or kProxy while its value is awaited
    bool collecting = false; // "n" or "v" seen
    std::string stray;       // the first other argument, a fault once the line is scripted
    enum { kList = 1, kReport = 2, kProxy = 3 };

    ScriptedCommand() { proxy.kind = ProxyRule::kBrowserOrMachine; }
};

// One argument in order: param without its leading '/' or '-', which flagMark holds (0
// for a plain argument). True when it belongs to the scripted command, a flag or its
// value, and so is no value for "n" and "v".
bool TakeScriptedParam(ScriptedCommand& command, const char* param, char flagMark);

// After the last argument: a value still awaited, or /proxy without /check, is a fault.
void FinishScriptedCommand(ScriptedCommand& command);

// The console program's rule: a line that the window program gives no meaning (an
// argument other than these flags before any "n" or "v") becomes a scripted one whose
// fault is that argument, followed by the usage hint. Lines without arguments, and
// lines whose first argument is "n" or "v", stay the window program's.
void RequireMeaningfulLine(ScriptedCommand& command);
