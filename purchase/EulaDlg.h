// EulaDlg.h: CEulaDlg, the end-user agreement shown before a purchase.
#pragma once

#include "framework/Dialog.h"
#include "framework/RichEditCtrl.h"

class CEulaDlg : public CDialog {
public:
    // path: the agreement file (RTF); kept, not copied, so it must outlive the
    // dialog. owner may be null. DoModal gives IDOK when the user accepts.
    CEulaDlg(const char* path, CWnd* owner);

    CRichEditCtrl m_richEdit;
    const char* m_eulaPath;

    // EM_STREAMIN callback; cookie is the open file's handle.
    static DWORD CALLBACK ReadEulaChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnAccept();

    DECLARE_MESSAGE_MAP()
};
