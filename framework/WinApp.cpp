// WinApp.cpp: application object, command-line parsing, entry point.
#include "framework/WinApp.h"
#include "framework/AnsiCodePage.h"
#include "framework/CommandLineSplit.h"

static CWinApp* g_app = nullptr;

void CCommandLineInfo::ParseParam(const char* /*param*/, BOOL /*isFlag*/, BOOL /*isLast*/)
{
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    ParseCommandLine(info, ::GetCommandLineA());
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info, const char* commandLine)
{
    std::vector<std::string> args = SplitCommandLine(commandLine, AnsiLeadBytes());
    for (size_t i = 1; i < args.size(); ++i) {
        const char* param = args[i].c_str();
        BOOL isFlag = FALSE;
        if (param[0] == '/' || param[0] == '-') {
            isFlag = TRUE;
            ++param;
        }
        info.ParseParam(param, isFlag, i + 1 == args.size());
    }
}

void CWinApp::SetRegistryKey(const char* key)
{
    // Names the per-user settings key; nothing is stored there.
    m_registryKey = key ? key : "";
}

void CWinApp::OnHelp()
{
    // The program ships no help file.
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxFindResourceHandle(const char* name, const char* type)
{
    HINSTANCE h = AfxGetResourceHandle();
    return ::FindResourceA(h, name, type) ? h : AfxGetInstanceHandle();
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = hInstance;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
