// Populate.cpp: CPackagesDlg::Populate, one pass that refills the product list from
// the package keys, offline from the stored update records or online from the server.
#include "ui/PackagesDlg.h"

#include "packages/PackageInfo.h"
#include "update/ProductListPass.h"

namespace {

// Inserts each package row into the list: collapsed, with the check mark when a newer
// version is known.
class CListRowSink : public CPackageRowSink {
public:
    explicit CListRowSink(CListCtrl& list) : m_list(list) {}

    void AddRow(int index, const PackageRow& row) override
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
        item.iItem = index;
        item.pszText = const_cast<char*>(row.name);
        item.state = INDEXTOSTATEIMAGEMASK(1);
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.iImage = row.known ? 0 : 1;
        int inserted = m_list.InsertItem(&item);
        if (inserted < 0)
            return;
        m_list.SetItemText(inserted, 1, row.version);
        m_list.SetItemText(inserted, 2, row.update);
    }

private:
    CListCtrl& m_list;
};

}  // namespace

void CPackagesDlg::Populate(bool online)
{
    m_list.DeleteAllItems();
    if (online)
        m_progress.Create(this);

    PassCounts counts;
    {
        // Creating the component only tells whether it is installed and working.
        CPackageInfoClient info;
        if (!info.IsCreated())
            ShowComponentsWarning();

        // An offline pass runs without serving messages: paint the list once at its end.
        // An online pass shows each row as its answer comes in.
        const bool holdRedraw = !online;
        if (holdRedraw)
            m_list.SetRedraw(FALSE);
        CListRowSink rows(m_list);
        counts = RunProductListPass(online, m_progress, rows);
        if (holdRedraw) {
            m_list.SetRedraw(TRUE);
            ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
        }
    }

    if (online)
        m_progress.DestroyWindow();
    if (online && !counts.cancelled && counts.unchecked > 0)
        ShowUncheckedWarning(counts.unchecked, counts.listed);
}
