// FileError.h: the one message box for file errors: a stop icon, the file's name
// and the system's reason.
#pragma once

#include <windows.h>
#include <string>

// The system's text for an error code, without its trailing line break.
std::string SystemErrorText(DWORD error);

// Shows the file error for path and error (GetLastError's value) owned by owner.
void ReportFileError(HWND owner, const char* path, DWORD error);
