// Dialog.h: CDialog, a dialog from a resource template, modal or modeless.
//
// How to use: derive, pass the template id to the constructor, override
// OnInitDialog (call the base first: it binds the controls through DoDataExchange),
// OnOK, OnCancel. DoModal runs the dialog in a modal loop of its own that calls
// PreTranslateMessage for every message; the loop ends on EndDialog or WM_QUIT
// (which it posts again, so that the caller's loop ends too). Create makes the
// dialog modeless. A template that names no position opens centred over its owner, or
// without one in the work area of its monitor.
#pragma once

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;

    bool IsModalLoopRunning() const { return m_bInModalLoop; }
    // Centres the window over its owner (when that is visible and not minimised), or in
    // the work area; it stays inside that work area.
    void CenterWindow() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_INITDIALOG: centres the dialog when its template names no position and
    // OnInitDialog left it where the system put it (before).
    void PlaceIfUnplaced(const RECT& before) const;

    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};

// The resource handle of the program (the module of the executable).
HINSTANCE AfxGetResourceHandle();
