// ScriptedRun.h: the command line for scripts and many machines: the update check, the
// product list as CSV and the status report, without any window, ending with an exit
// code.
#pragma once

#include "app/ScriptedCommand.h"

#include <string>

// The exit codes of a scripted run.
enum : int {
    kExitDone = 0,           // no listed package shows an update version
    kExitFailed = 1,         // a wrong command line, a file not written, no component
    kExitUpdates = 2,        // at least one listed package shows an update version
    kExitIncomplete = 3,     // no update version shown, but some packages not checked
};

// The program that runs the command.
enum class ScriptedFrontEnd {
    kWindowProgram,   // vantorix.exe: /? shows a message box
    kConsoleProgram,  // vantorix.com: /? prints the usage to standard output
};

// Runs the command's work in the order check, list, report; each problem goes to
// standard error as one line, converted for a console, and a check shows its progress
// there when it is a console. /? on a line without faults shows the usage instead.
// No other window, and none of the system's error boxes, appears. Returns the exit
// code.
int RunScriptedCommand(const ScriptedCommand& command, ScriptedFrontEnd frontEnd);

// One line on standard error, where the process has one (a console, or a script
// redirected it); a console gets it converted from the ANSI code page.
void ScriptedErrorLine(const std::string& text);
// The same for Unicode text, such as a path that the ANSI code page cannot hold; a file
// or a pipe gets it in the ANSI code page.
void ScriptedErrorLine(const std::wstring& text);
