// ProgressDlg.h: CProgressDlg, the modeless progress window of an update check, the
// window's IProgress.
//
// How to use: Create with the owner (which it disables), SetStatusText and
// SetProgress while the work runs (each SetProgress serves the thread's waiting
// messages and returns whether Cancel was pressed), DestroyWindow at the end
// (which enables the owner again). Every call is harmless without a window.
#pragma once

#include "framework/Dialog.h"
#include "framework/ProgressCtrl.h"
#include "update/Progress.h"

class CProgressDlg : public CDialog, public IProgress {
public:
    explicit CProgressDlg(UINT nCaptionID = 0);
    ~CProgressDlg() override;

    BOOL Create(CWnd* pParent);
    void SetStatusText(const char* text) override;
    bool SetProgress(int position) override;
    BOOL DestroyWindow() override;

    CProgressCtrl m_progressBar;
    UINT m_nCaptionID;
    int m_nLower;
    int m_nUpper;
    int m_nStep;
    BOOL m_bCancelled;
    BOOL m_bOwnerDisabled;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ReenableOwner();

    CWnd m_ownerWnd;  // the owner when it is not the parent given to Create

    DECLARE_MESSAGE_MAP()
};
