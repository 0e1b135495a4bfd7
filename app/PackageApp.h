// PackageApp.h: the application object, its single-instance guard and its command line.
#pragma once

#include "app/ScriptedCommand.h"
#include "framework/WinApp.h"
#include "ui/InstanceMessage.h"

// The guard's shared block, 2052 bytes.
struct InstanceBlock {
    DWORD threadId;
    char commandLine[2048];
};
static_assert(sizeof(InstanceBlock) == 2052, "InstanceBlock is 2052 bytes");

class CSingleInstanceApp : public CWinApp {
public:
    // claimGuard false: this copy takes no part in the single-instance hand-off (it
    // neither holds the guard nor looks for the first copy) and runs as a first one.
    explicit CSingleInstanceApp(const char* instanceName, bool claimGuard = true);
    ~CSingleInstanceApp() override;

    void AnnounceInstance();
    bool IsFirstInstance() const { return m_bFirstInstance; }
    // The first copy's main window: the first top-level window that answers the
    // instance message with its id; null when none does.
    static HWND FindFirstInstanceWindow();

protected:
    bool m_bFirstInstance;
    HANDLE m_hMapping;
    InstanceBlock* m_pBlock;
};

class CPackageCommandLineInfo : public CCommandLineInfo {
public:
    CPackageCommandLineInfo();
    void ParseParam(const char* param, BOOL isFlag, BOOL isLast) override;

    bool m_collectName;
    bool m_collectVersion;
    char m_packageName[512];
    char m_packageVersion[512];
    // The flags for scripts, before any "n" or "v".
    ScriptedCommand m_script;
};

class CPackageApp : public CSingleInstanceApp {
public:
    CPackageApp();
    BOOL InitInstance() override;
    int ExitInstance() override;
    // The purchase mode: the purchase flow for the package named on the command line.
    void PurchaseFromCommandLine();

    CPackageCommandLineInfo m_cmdInfo;
    // The process's exit code: a scripted run's result, 0 otherwise.
    int m_nExitCode;

    DECLARE_MESSAGE_MAP()
};
