// TestProcess.cpp: build paths, temporary folders and child processes for tests.
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <vector>

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

namespace {

// Removes a folder and everything in it; what is still in use stays.
void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

// Removes the temporary folders that a test made when it ends, and those made outside
// any test when the program ends.
class CTempDirSweeper : public ::testing::EmptyTestEventListener {
public:
    void Add(const std::string& dir)
    {
        (::testing::UnitTest::GetInstance()->current_test_info() ? m_ofTest : m_ofProgram).push_back(dir);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { Sweep(m_ofTest); }
    void OnTestProgramEnd(const ::testing::UnitTest&) override
    {
        Sweep(m_ofTest);
        Sweep(m_ofProgram);
    }

private:
    static void Sweep(std::vector<std::string>& dirs)
    {
        for (const std::string& dir : dirs)
            RemoveTree(dir);
        dirs.clear();
    }
    std::vector<std::string> m_ofTest;
    std::vector<std::string> m_ofProgram;
};

CTempDirSweeper* Sweeper()
{
    // Owned by GoogleTest's listener list once appended.
    static CTempDirSweeper* sweeper = [] {
        CTempDirSweeper* created = new CTempDirSweeper;
        ::testing::UnitTest::GetInstance()->listeners().Append(created);
        return created;
    }();
    return sweeper;
}

}  // namespace

std::string MakeTempDir(const char* tag)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    // Process ids repeat under Wine: only a folder that did not exist yet is taken.
    static unsigned counter = 0;
    char name[MAX_PATH];
    for (;;) {
        snprintf(name, sizeof(name), "%svx_%s_%lu_%lu_%u\\", temp, tag, (unsigned long)GetCurrentProcessId(),
                 (unsigned long)GetTickCount(), ++counter);
        if (CreateDirectoryA(name, nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return name;
    }
    Sweeper()->Add(name);
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
