// CommandLineSplit.h: splitting a command line into arguments as the C run-time does.
// Plain logic without windows.h, so that it can be tested and fuzzed natively.
#pragma once

#include "framework/MultiByte.h"

#include <string>
#include <vector>

// Splits commandLine into its arguments; the first one is the program name, read by
// the run-time's rule for it (quotes group, backslashes are literal). Later arguments
// are separated by blanks and tabs; double quotes group words, "" inside quotes is a
// literal quote, and 2n backslashes before a quote give n backslashes (2n+1: n and a
// literal quote). A lead byte and the byte after it are one character, copied together
// and never taken for a blank, a quote or a backslash, as the multibyte run-time does.
std::vector<std::string> SplitCommandLine(const char* commandLine, const LeadBytes& lead);

// The arguments' text as it was typed: what follows the program name and its blanks.
const char* SkipProgramName(const char* commandLine, const LeadBytes& lead);
// The same in a Unicode command line.
const wchar_t* SkipProgramName(const wchar_t* commandLine);
