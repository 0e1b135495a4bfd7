// ListCtrl.h: a list view control in report mode.
#pragma once

#include "framework/Wnd.h"
#include <commctrl.h>

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    BOOL DeleteAllItems() const { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    BOOL DeleteItem(int item) const { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)item); }
    int InsertItem(const LVITEMA* item) const { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)item); }
    BOOL GetItem(LVITEMA* item) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)item); }
    BOOL SetItemState(int item, UINT state, UINT mask) const
    {
        LVITEMA lvi = {};
        lvi.state = state;
        lvi.stateMask = mask;
        return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)&lvi);
    }
    UINT GetItemState(int item, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)item, (LPARAM)mask); }
    BOOL SetItemText(int item, int subItem, const char* text) const
    {
        LVITEMA lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = const_cast<char*>(text);
        return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)item, (LPARAM)&lvi);
    }
    // The text of a column into buffer (size bytes); returns its length.
    int GetItemText(int item, int subItem, char* buffer, int size) const
    {
        LVITEMA lvi = {};
        lvi.iSubItem = subItem;
        lvi.pszText = buffer;
        lvi.cchTextMax = size;
        if (size > 0)
            buffer[0] = 0;
        return (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)item, (LPARAM)&lvi);
    }
    int InsertColumn(int col, const char* heading, int format, int width) const
    {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        c.fmt = format;
        c.cx = width;
        c.pszText = const_cast<char*>(heading);
        c.iSubItem = col;
        return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)col, (LPARAM)&c);
    }
    int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
    int SetSelectionMark(int item) const { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, (LPARAM)item); }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    BOOL EnsureVisible(int item, BOOL partial) const
        { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)item, partial); }
    int GetNextItem(int item, UINT flags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)item, MAKELPARAM(flags, 0)); }
    int HitTest(LVHITTESTINFO* info) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)info); }
    BOOL GetItemRect(int item, RECT* rc, int code) const
    {
        rc->left = code;
        return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)rc);
    }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const { return (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)kind, (LPARAM)list); }
    HWND GetHeaderCtrl() const { return (HWND)SendMessage(LVM_GETHEADER); }
    HCURSOR GetHotCursor() const { return (HCURSOR)SendMessage(LVM_GETHOTCURSOR); }
    DWORD SetExtendedStyle(DWORD mask, DWORD style) const { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, (WPARAM)mask, (LPARAM)style); }
    void SetRedraw(BOOL redraw) const { SendMessage(WM_SETREDRAW, (WPARAM)redraw); }
};
