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

#include <string>
#include <vector>

namespace {

const wchar_t kWindowProgram[] = L"vantorix.exe";

// vantorix.exe beside this program, by full path: never looked for elsewhere. Unicode,
// so that a folder whose name the ANSI code page cannot hold is found too.
std::wstring WindowProgramPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (length == 0)
            return std::wstring();
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    const std::wstring program(path.data());
    return program.substr(0, program.rfind(L'\\') + 1) + kWindowProgram;
}

// Starts the window program with this command line's arguments as typed, and does not
// wait.
int StartWindowProgram()
{
    const std::wstring program = WindowProgramPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    const wchar_t* arguments = SkipProgramName(::GetCommandLineW());
    if (*arguments)
        commandLine += std::wstring(L" ") + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        const DWORD error = ::GetLastError();
        ScriptedErrorLine(L"Could not start " + program + L": " + AnsiToWide(SystemErrorText(error)));
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
