// ListCommands.cpp: the product list's row commands for the keyboard: the shortcut menu
// of the row at the selection mark (Applications key, Shift+F10) and the copy of the
// selected rows.
#include "ui/PackagesDlg.h"

#include "framework/Clipboard.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "ui/ListRules.h"

bool CPackagesDlg::RowHasUpdateLink(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.iItem = row;
    item.stateMask = LVIS_STATEIMAGEMASK;
    if (row < 0 || !m_list.GetItem(&item))
        return false;
    char update[260];
    // The update image strip's condition, or the update text strip's.
    return ((item.state & LVIS_STATEIMAGEMASK) != 0 && item.iImage == 0) ||
           m_list.GetItemText(row, 2, update, sizeof(update)) > 0;
}

LRESULT CPackagesDlg::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    // The keyboard's menu comes with the position -1, -1; a right click stays a click.
    const bool fromKeyboard = (short)LOWORD(lParam) == -1 && (short)HIWORD(lParam) == -1;
    if ((HWND)wParam != m_list.m_hWnd || !fromKeyboard) {
        Default();
        return 0;
    }
    CMenuHandle menu(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_LIST_MENU)));
    HMENU popup = ::GetSubMenu(menu, 0);
    if (!popup)
        return 0;

    // At the row's left edge, below its text, or above the row where the screen ends;
    // without a row, at the list's top left.
    const int row = m_list.GetSelectionMark();
    RECT rc = {};
    const bool onRow = row >= 0 && m_list.EnsureVisible(row, FALSE) && m_list.GetItemRect(row, &rc, LVIR_BOUNDS);
    if (!onRow)
        rc = RECT();
    ::MapWindowPoints(m_list.m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    TPMPARAMS around = {sizeof(around), rc};

    auto enable = [popup](UINT id, bool on) {
        ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_OPEN_UPDATE_PAGE, RowHasUpdateLink(row));
    enable(IDC_BUY_NOW, m_buyNow.IsWindowEnabled() != FALSE);
    enable(ID_COPY_ROWS, m_list.GetSelectedCount() > 0);
    // The chosen command comes as WM_COMMAND, through the routing every command takes.
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RIGHTBUTTON, rc.left, rc.bottom, m_hWnd,
                       onRow ? &around : nullptr);
    return 0;
}

void CPackagesDlg::OnOpenUpdatePage()
{
    const int row = m_list.GetSelectionMark();
    if (RowHasUpdateLink(row))
        OpenUpdatePage(row);
}

void CPackagesDlg::CopySelectedRows()
{
    std::string text;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
        char name[260], version[260], update[260];
        m_list.GetItemText(row, 0, name, sizeof(name));
        m_list.GetItemText(row, 1, version, sizeof(version));
        m_list.GetItemText(row, 2, update, sizeof(update));
        text += CopiedRowLine(name, version, update, RowHasUpdateLink(row) ? RowPageAddress(row).c_str() : "");
    }
    if (!text.empty())
        SetClipboardAnsiText(m_hWnd, text);
}
