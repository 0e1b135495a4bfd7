// TestProcess.h: paths of the build and child processes for tests.
#pragma once

#include <windows.h>
#include <string>

// The folder of the running test executable, with a trailing backslash; the
// program, the component and the tools are built into the same folder.
std::string BinDir();
// The source tree (VANTORIX_SOURCE_DIR, a Windows path), with a trailing backslash.
std::string SourceDir();
// A new empty folder under the prefix's temporary folder, with a trailing backslash;
// removed with its contents when the test that made it ends.
std::string MakeTempDir(const char* tag);

// Starts commandLine; returns the process handle (the caller closes it) or null.
HANDLE StartProcess(const std::string& commandLine);
// Waits up to timeoutMs; the exit code, or -1 on time-out (the process is then killed).
int WaitProcess(HANDLE process, DWORD timeoutMs);
// Starts and waits.
int RunProcess(const std::string& commandLine, DWORD timeoutMs);

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& data);
