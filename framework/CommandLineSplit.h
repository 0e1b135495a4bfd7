// CommandLineSplit.h: splitting a command line into arguments as the C run-time does.
// Plain logic without windows.h, so that it can be tested and fuzzed natively.
#pragma once

#include <string>
#include <vector>

// Splits commandLine into its arguments; the first one is the program name, read by
// the run-time's rule for it (quotes group, backslashes are literal). Later arguments
// are separated by blanks and tabs; double quotes group words, "" inside quotes is a
// literal quote, and 2n backslashes before a quote give n backslashes (2n+1: n and a
// literal quote).
std::vector<std::string> SplitCommandLine(const char* commandLine);
