// AboutDlg.h: CAboutDlg, the About box with the version text and the logo.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    ~CAboutDlg() override;

    HBITMAP m_hBitmap;

protected:
    BOOL OnInitDialog() override;
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
