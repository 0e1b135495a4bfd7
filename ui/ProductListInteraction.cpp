// ProductListInteraction.cpp: the product list under the mouse and the keyboard:
// expanding and collapsing package rows, "Buy now" following the clicked row, newer
// versions acting as links (hot cursor, tip, opening the update page), Ctrl+A and Ctrl+C.
#include "ui/PackagesDlg.h"

#include "packages/PackageInfo.h"
#include "ui/ListRules.h"
#include "update/UpdateStore.h"

#include <shellapi.h>
#include <vector>

const char kProductsPageAddress[] = "www.norvane.com/products";

static const UINT kStateCollapsed = INDEXTOSTATEIMAGEMASK(1);
static const UINT kStateExpanded = INDEXTOSTATEIMAGEMASK(2);

void CPackagesDlg::OnListClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    DWORD pos = ::GetMessagePos();
    POINT pt = {(short)LOWORD(pos), (short)HIWORD(pos)};
    ::MapWindowPoints(nullptr, pNMHDR->hwndFrom, &pt, 1);

    LVHITTESTINFO hit = {};
    hit.pt = pt;
    int row = m_list.HitTest(&hit);
    UINT stateBits = row >= 0 ? m_list.GetItemState(row, LVIS_STATEIMAGEMASK) : 0;

    const UINT flags = hit.flags;
    const bool onItem = flags == LVHT_ONITEMICON || flags == LVHT_ONITEMLABEL || flags == LVHT_ONITEMSTATEICON ||
                        flags == LVHT_ONITEM;
    if (row >= 0 && stateBits != 0 && onItem) {
        RECT icon;
        if (m_list.GetItemRect(row, &icon, LVIR_ICON) && pt.x < icon.left) {
            if (stateBits == kStateCollapsed) {
                m_list.SetItemState(row, kStateExpanded, LVIS_STATEIMAGEMASK);
                ExpandPackageRow(row);
            } else {
                m_list.SetItemState(row, kStateCollapsed, LVIS_STATEIMAGEMASK);
                CollapsePackageRow(row);
            }
        }
        if (row == m_list.GetSelectionMark())
            EnableBuyNow(true);
    } else {
        EnableBuyNow(false);
    }
    *pResult = 0;
}

void CPackagesDlg::ExpandPackageRow(int row)
{
    char name[256];
    m_list.GetItemText(row, 0, name, sizeof(name));

    std::vector<ComponentRecord> records;
    {
        CPackageInfoClient info;
        if (!info.IsCreated()) {
            ShowComponentsWarning();
            return;
        }
        // No component list (or none that could be held): no rows.
        info.ListComponents(name, records);
    }

    int at = row;
    for (const ComponentRecord& record : records) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
        item.iItem = at + 1;
        item.pszText = const_cast<char*>("");
        item.state = 0;
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.iImage = 1;
        int inserted = m_list.InsertItem(&item);
        if (inserted < 0)
            break;
        at = inserted;
        // The client hands over every record's texts zero-terminated.
        m_list.SetItemText(at, 0, ComponentRowName(record.name, record.classId));
        m_list.SetItemText(at, 1, ComponentRowVersion(record.version));
    }
}

void CPackagesDlg::CollapsePackageRow(int row)
{
    for (;;) {
        int next = m_list.GetNextItem(row, LVNI_ALL);
        if (next < 0 || m_list.GetItemState(next, LVIS_STATEIMAGEMASK) != 0)
            break;
        if (!m_list.DeleteItem(next))
            break;
    }
}

std::string CPackagesDlg::RowPageAddress(int row) const
{
    char name[256];
    m_list.GetItemText(row, 0, name, sizeof(name));
    char url[256] = {};
    UpdateStore(name, "", nullptr, kUpdateReadAddress, url);
    url[sizeof(url) - 1] = 0;
    // The stored address came from the network: only a web page is opened.
    return LinkPageAddress(url, kProductsPageAddress);
}

void CPackagesDlg::OpenUpdatePage(int row)
{
    ::ShellExecuteA(m_hWnd, "open", RowPageAddress(row).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int CPackagesDlg::FindLinkRowBetween(POINT pt, int first, int last) const
{
    for (int row = first; row <= last; ++row) {
        char text[260];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
        item.iItem = row;
        item.stateMask = 0xFFFF;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        if (!m_list.GetItem(&item))
            continue;

        // The update image strip is where the check mark is drawn: the row's icon.
        RECT imageStrip;
        if ((item.state & LVIS_STATEIMAGEMASK) != 0 && item.iImage == 0 &&
            m_list.GetItemRect(row, &imageStrip, LVIR_ICON) && ::PtInRect(&imageStrip, pt))
            return row;

        RECT textStrip;
        char update[260];
        if (m_list.GetItemText(row, 2, update, sizeof(update)) > 0 && update[0] &&
            m_list.GetItemRect(row, &textStrip, LVIR_BOUNDS)) {
            // 85/100 in integers: the 32-bit build's x87 arithmetic holds 0.85 as a bit
            // less and would land a pixel short where the product is whole (540 -> 458).
            textStrip.left = (textStrip.right - textStrip.left) * 85 / 100;
            if (::PtInRect(&textStrip, pt))
                return row;
        }
    }
    return -1;
}

int CPackagesDlg::FindLinkRow(POINT pt) const
{
    // Report rows are stacked at one height from row 0: only the rows around the
    // point's height can hold it, wherever the list is scrolled.
    int count = m_list.GetItemCount();
    if (count <= 0)
        return -1;
    RECT firstRow;
    if (!m_list.GetItemRect(0, &firstRow, LVIR_BOUNDS))
        return FindLinkRowBetween(pt, 0, count - 1);
    int first, last;
    if (!RowsAtHeight(pt.y, firstRow.top, firstRow.bottom - firstRow.top, count, &first, &last))
        return -1;
    return FindLinkRowBetween(pt, first, last);
}

// True when pt, in the list's client coordinates, lies where rows are drawn: inside the
// client area and below the header, which covers the rows scrolled above it.
static bool InItemArea(const CListCtrl& list, POINT pt)
{
    RECT area;
    list.GetClientRect(&area);
    HWND header = list.GetHeaderCtrl();
    if (header && ::IsWindowVisible(header)) {
        RECT rc;
        ::GetWindowRect(header, &rc);
        ::MapWindowPoints(nullptr, list.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        if (rc.bottom > area.top)
            area.top = rc.bottom;
    }
    return ::PtInRect(&area, pt) != FALSE;
}

void CPackagesDlg::SetLinkCursor(bool link)
{
    ::SetClassLongPtrA(m_list.m_hWnd, GCLP_HCURSOR, (LONG_PTR)(link ? m_hHotCursor : m_hClassCursor));
    m_bLinkCursor = link;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPackagesDlg::TrackLinkCursor(const MSG* pMsg)
{
    if (!m_list.m_hWnd)
        return;
    const bool move = pMsg->message == WM_MOUSEMOVE;
    if (move || pMsg->message == WM_LBUTTONDOWN) {
        RECT listRect;
        m_list.GetWindowRect(&listRect);
        if (::PtInRect(&listRect, pMsg->pt)) {
            // The strips are in the list's client coordinates.
            POINT pt = pMsg->pt;
            ::MapWindowPoints(nullptr, m_list.m_hWnd, &pt, 1);
            int row = InItemArea(m_list, pt) ? FindLinkRow(pt) : -1;
            if (row >= 0) {
                if (move) {
                    MSG relay = *pMsg;
                    m_tooltip.RelayEvent(&relay);
                    if (!m_bLinkCursor)
                        SetLinkCursor(true);
                    return;
                }
                OpenUpdatePage(row);
            }
        }
    }
    if (m_bLinkCursor && move)
        SetLinkCursor(false);
}

void CPackagesDlg::OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR);
    const WORD vk = key->wVKey;
    int row = m_list.GetSelectionMark();
    // With Ctrl the keys keep the list's own meaning (Ctrl+Space selects a row apart).
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0;
    if (row >= 0 && !ctrl && (vk == VK_RIGHT || vk == VK_LEFT || vk == VK_SPACE)) {
        UINT stateBits = m_list.GetItemState(row, LVIS_STATEIMAGEMASK);
        if (stateBits == kStateCollapsed && (vk == VK_RIGHT || vk == VK_SPACE)) {
            m_list.SetItemState(row, kStateExpanded, LVIS_STATEIMAGEMASK);
            ExpandPackageRow(row);
        } else if (stateBits != 0 && stateBits != kStateCollapsed && (vk == VK_LEFT || vk == VK_SPACE)) {
            m_list.SetItemState(row, kStateCollapsed, LVIS_STATEIMAGEMASK);
            CollapsePackageRow(row);
        }
    }
    if (ctrl && (vk == 'C' || vk == VK_INSERT))
        CopySelectedRows();
    if (ctrl && vk == 'A')
        m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    // The list moves its selection after this notification.
    PostMessage(kFollowSelectionMessage);
    *pResult = 0;
}

LRESULT CPackagesDlg::OnFollowSelection(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    int row = m_list.m_hWnd ? m_list.GetSelectionMark() : -1;
    EnableBuyNow(row >= 0 && m_list.GetItemState(row, LVIS_STATEIMAGEMASK) != 0);
    return 0;
}
