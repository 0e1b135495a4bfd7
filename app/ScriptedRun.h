// ScriptedRun.h: the command line for scripts and many machines: the update check, the
// product list as CSV and the status report, without any window, ending with an exit
// code.
#pragma once

#include "app/ScriptedCommand.h"

// The exit codes of a scripted run.
enum : int {
    kExitDone = 0,           // no listed package shows an update version
    kExitFailed = 1,         // a wrong command line, a file not written, no component
    kExitUpdates = 2,        // at least one listed package shows an update version
    kExitIncomplete = 3,     // no update version shown, but some packages not checked
};

// Runs the command's work in the order check, list, report; each problem goes to
// standard error as one line. /? shows the usage instead, the one window of a
// scripted command line. Returns the exit code.
int RunScriptedCommand(const ScriptedCommand& command);
