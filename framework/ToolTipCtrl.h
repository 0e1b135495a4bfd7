// ToolTipCtrl.h: a tooltip window owned by its wrapper.
#pragma once

#include "framework/Wnd.h"
#include <commctrl.h>

class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override { DestroyWindow(); }

    BOOL Create(CWnd* parent, DWORD style)
    {
        m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        return m_hWnd != nullptr;
    }
    // A tool of the given id over rect of window, with text and flags.
    BOOL AddTool(CWnd* window, const char* text, const RECT* rect, UINT_PTR id, UINT flags = 0) const
    {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = flags;
        ti.hwnd = window->m_hWnd;
        ti.uId = id;
        ti.rect = *rect;
        ti.hinst = ::GetModuleHandleA(nullptr);
        ti.lpszText = const_cast<char*>(text);
        return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
    }
    void UpdateTipText(const char* text, CWnd* window, UINT_PTR id) const
    {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = window->m_hWnd;
        ti.uId = id;
        ti.hinst = ::GetModuleHandleA(nullptr);
        ti.lpszText = const_cast<char*>(text);
        SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
    }
    void RelayEvent(MSG* msg) const { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
};
