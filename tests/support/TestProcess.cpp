// TestProcess.cpp: build paths and child processes for tests.
#include "tests/support/TestProcess.h"
#include <stdio.h>

std::string BinDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string dir(path, n);
    size_t slash = dir.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
}

std::string SourceDir()
{
    char buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VANTORIX_SOURCE_DIR", buf, sizeof(buf));
    std::string dir = (n && n < sizeof(buf)) ? std::string(buf, n) : std::string();
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    return dir;
}

std::string MakeTempDir(const char* tag)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    static unsigned counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%svx_%s_%lu_%u\\", temp, tag, (unsigned long)GetCurrentProcessId(), ++counter);
    CreateDirectoryA(name, nullptr);
    return name;
}

HANDLE StartProcess(const std::string& commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

int WaitProcess(HANDLE process, DWORD timeoutMs)
{
    if (!process)
        return -1;
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return (int)code;
}

int RunProcess(const std::string& commandLine, DWORD timeoutMs)
{
    HANDLE h = StartProcess(commandLine);
    int rc = WaitProcess(h, timeoutMs);
    if (h)
        CloseHandle(h);
    return rc;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return data;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
        data.append(buf, n);
    fclose(f);
    return data;
}

bool WriteWholeFile(const std::string& path, const std::string& data)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}
