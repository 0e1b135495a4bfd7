// Wnd.h: CWnd, a non-owning window handle with message-map dispatch.
//
// How to use: control wrappers derive from CWnd and add one-line methods over
// SendMessageA; they are attached to a dialog's child with DDX_Control. Dialogs
// (CDialog) get their messages through OnWndMsg, which routes WM_COMMAND to
// OnCommand, WM_NOTIFY to OnNotify and everything else to the message map.
#pragma once

#include "framework/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    ~CWnd() override {}

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
        { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
        { return ::PostMessageA(m_hWnd, msg, wParam, lParam); }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
    BOOL RedrawWindow(const RECT* rc, HRGN rgn, UINT flags) const { return ::RedrawWindow(m_hWnd, rc, rgn, flags); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }

    virtual BOOL DestroyWindow();

    // The first window at or above hParent that is not a child window (for owners of
    // dialogs); without a parent, the application's main window.
    static HWND GetSafeOwner(HWND hParent);

    // Dispatch of one message; returns true when a handler took it.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    // Asks for the default processing of the message being handled.
    void Default() { m_bDefault = true; }
    const MSG* GetCurrentMessage() const { return &m_currentMsg; }

    bool m_bDefault = false;
    MSG m_currentMsg = {};
};

// Window message wrapper for dialog children bound by id.
class CDataExchange {
public:
    explicit CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a dialog's child control to its wrapper.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
