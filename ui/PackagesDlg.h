// PackagesDlg.h: CPackagesDlg, the main window with the product list.
#pragma once

#include "framework/Dialog.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/ToolTipCtrl.h"
#include "update/ProgressDlg.h"

#include <string>

// The maker's products page, opened when a newer version has no stored address.
extern const char kProductsPageAddress[];

class CPackagesDlg : public CDialog {
public:
    explicit CPackagesDlg(CWnd* pParent = nullptr);
    ~CPackagesDlg() override;

    // Empties the list and fills it with one row per installed, not hidden package;
    // online asks the update server for every package under the progress window.
    void Populate(bool online);
    void ExpandPackageRow(int row);
    void CollapsePackageRow(int row);

    // The row whose link area (update image strip or update text strip) holds pt, a
    // point in the list's client coordinates; -1 when none. FindLinkRow looks only at
    // the rows that can hold pt, FindLinkRowBetween at rows first to last in order.
    int FindLinkRow(POINT pt) const;
    int FindLinkRowBetween(POINT pt, int first, int last) const;

    // "Buy now": the purchase flow for the row at the selection mark.
    void BuyNow();
    // Whether row shows a newer version: its link area counts.
    bool RowHasUpdateLink(int row) const;
    // Opens the page of row's newer version: the stored address, else the products page.
    void OpenUpdatePage(int row);
    // Ctrl+C: the selected rows onto the clipboard, one line each.
    void CopySelectedRows();
    // " Save status report": writes the report to a file the user chooses.
    void SaveStatusReport();

    HACCEL m_hAccel;
    CImageList m_stateImages;
    CImageList m_smallImages;
    CToolTipCtrl m_tooltip;
    HCURSOR m_hHotCursor;
    HCURSOR m_hClassCursor;
    bool m_bLinkCursor;
    CProgressDlg m_progress;
    CListCtrl m_list;
    HICON m_hIcon;
    CWnd m_buyNow;  // "Buy now" (1010), bound with the list

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnRefresh();
    void OnClose();
    void OnCheckUpdates();
    void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnInstanceMessage(WPARAM wParam, LPARAM lParam);
    void OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnFollowSelection(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyDialog(WPARAM wParam, LPARAM lParam);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnOpenUpdatePage();

    // The hot-tracking step of PreTranslateMessage: link cursor, tip and link clicks.
    void TrackLinkCursor(const MSG* pMsg);
    void SetLinkCursor(bool link);
    // Disabling "Buy now" while it has the focus first gives the focus to the list.
    void EnableBuyNow(bool enable) const;
    // The address that row's link opens.
    std::string RowPageAddress(int row) const;
    void ShowComponentsWarning() const;
    // After an online pass: unchecked of listed packages could not be checked.
    void ShowUncheckedWarning(int unchecked, int listed) const;

    // Posted after a key in the list, to act once the list has moved its selection.
    static const UINT kFollowSelectionMessage = WM_APP + 0x51;

    DECLARE_MESSAGE_MAP()
};
