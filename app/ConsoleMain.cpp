// ConsoleMain.cpp: vantorix.com, the console front end. cmd and PowerShell pick it
// before vantorix.exe (PATHEXT lists .COM first), wait for it and show its lines. A
// command line for scripts runs here, on the same operations as vantorix.exe; a line
// that the window program gives a meaning (none at all, or the purchase's "n" and "v")
// starts vantorix.exe from this program's folder with the same arguments; any other is
// a fault, so that a typo never opens a window that nobody may see.
#include "app/PackageApp.h"
#include "app/ScriptedRun.h"
#include "framework/AnsiCodePage.h"
#include "framework/CommandLineSplit.h"
#include "framework/FileError.h"
#include "framework/SystemLibrary.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kWindowProgram[] = "vantorix.exe";

// vantorix.exe beside this program, by full path: never looked for elsewhere.
std::string WindowProgramPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), (DWORD)path.size());
        if (length == 0)
            return std::string();
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    const size_t slash = FindLastChar(path.data(), strlen(path.data()), '\\', AnsiLeadBytes());
    return std::string(path.data(), slash == kNoMatch ? 0 : slash + 1) + kWindowProgram;
}

// Starts the window program with this command line's arguments and does not wait.
int StartWindowProgram()
{
    const std::string program = WindowProgramPath();
    std::string commandLine = "\"" + program + "\"";
    const char* arguments = SkipProgramName(::GetCommandLineA(), AnsiLeadBytes());
    if (*arguments)
        commandLine += std::string(" ") + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ScriptedErrorLine("Could not start " + program + ": " + SystemErrorText(::GetLastError()));
        return kExitFailed;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return kExitDone;
}

}  // namespace

int main()
{
    RestrictDllSearchToSystemFolder();
    CPackageCommandLineInfo info;
    CWinApp::ParseCommandLine(info, ::GetCommandLineA());
    RequireMeaningfulLine(info.m_script);
    if (info.m_script.scripted)
        return RunScriptedCommand(info.m_script, ScriptedFrontEnd::kConsoleProgram);
    return StartWindowProgram();
}
