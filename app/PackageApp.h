// PackageApp.h: the application object, its single-instance guard and its command line.
#pragma once

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
    explicit CSingleInstanceApp(const char* instanceName);
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
};

class CPackageApp : public CSingleInstanceApp {
public:
    CPackageApp();
    BOOL InitInstance() override;
    // The purchase mode: the purchase flow for the package named on the command line.
    void PurchaseFromCommandLine();

    CPackageCommandLineInfo m_cmdInfo;

    DECLARE_MESSAGE_MAP()
};
