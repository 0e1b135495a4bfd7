// Recorder.cpp: stands in for the default web browser in test and demo prefixes.
// Appends its command line, one line per start, to the file that the environment
// variable VANTORIX_RECORDER_LOG names (C:\vantorix-recorder.log without it).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VANTORIX_RECORDER_LOG", path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        lstrcpyA(path, "C:\\vantorix-recorder.log");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* line = GetCommandLineA();
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return 0;
}
