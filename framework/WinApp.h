// WinApp.h: the application object, its command-line parsing and the program entry.
//
// How to use: define exactly one global object of a class derived from CWinApp and
// override InitInstance. The entry point (AfxWinMain) calls InitInstance; when it
// returns FALSE the process ends without a message loop.
#pragma once

#include "framework/Wnd.h"
#include <string>

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() {}
    // Called once per argument; isFlag when it started with '/' or '-' (param is the
    // text after that character).
    virtual void ParseParam(const char* param, BOOL isFlag, BOOL isLast);
};

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // Parses the process's command line (GetCommandLineA).
    void ParseCommandLine(CCommandLineInfo& info);
    // Parses a raw command line: its first argument is the program name and is skipped.
    static void ParseCommandLine(CCommandLineInfo& info, const char* commandLine);
    void SetRegistryKey(const char* key);
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;
    std::string m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module that holds a resource of the given name and type.
HINSTANCE AfxFindResourceHandle(const char* name, const char* type);
int AfxWinMain(HINSTANCE hInstance);

#define ID_HELP 0xE146
