// PackageApp.cpp: CPackageApp, the program's ways of running.
#include "app/PackageApp.h"
#include "app/CommandLineCollect.h"
#include "app/ScriptedRun.h"
#include "ui/PackagesDlg.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CPackageApp, CSingleInstanceApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

// Whether the process's command line holds a flag for scripts: such a run shows no
// window, so it neither claims the guard nor hands over to a first copy.
bool IsScriptedCommandLine()
{
    CPackageCommandLineInfo info;
    CWinApp::ParseCommandLine(info, ::GetCommandLineA());
    return info.m_script.scripted;
}

}  // namespace

CPackageApp::CPackageApp() : CSingleInstanceApp(kInstanceName, !IsScriptedCommandLine()), m_nExitCode(0)
{
}

int CPackageApp::ExitInstance()
{
    return m_nExitCode;
}

BOOL CPackageApp::InitInstance()
{
    AnnounceInstance();

    if (!IsFirstInstance()) {
        // The guard decides before the command line is looked at.
        HWND first = FindFirstInstanceWindow();
        if (first) {
            // A modal dialog of the first copy (About, agreement, save-as, progress)
            // leaves its main window disabled, which cannot be activated: the dialog
            // comes forward instead; without one, the main window itself. Asked before
            // restoring, which may make the main window its own last active popup.
            HWND popup = ::GetLastActivePopup(first);
            if (::IsIconic(first))
                ::ShowWindow(first, SW_RESTORE);
            ::SetForegroundWindow(popup);
        }
        return FALSE;
    }

    ::InitCommonControls();
    CWinApp::InitInstance();
    ParseCommandLine(m_cmdInfo);
    if (m_cmdInfo.m_script.scripted) {
        m_nExitCode = RunScriptedCommand(m_cmdInfo.m_script, ScriptedFrontEnd::kWindowProgram);
        return FALSE;
    }
    const RunMode mode = ChooseRunMode(m_cmdInfo.m_packageName, m_cmdInfo.m_packageVersion);
    SetRegistryKey("Local AppWizard-Generated Applications");

    CPackagesDlg dlg(nullptr);
    if (mode == RunMode::kPurchase) {
        PurchaseFromCommandLine();
        return FALSE;
    }
    if (mode == RunMode::kQuickExit) {
        // A package without a version: the dialog is created and filled, and its modal
        // loop ends at once on this quit request.
        ::PostQuitMessage(0);
    }
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
