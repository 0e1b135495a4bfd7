// Populate.cpp: CPackagesDlg::Populate, one pass that refills the product list from
// the package keys, offline from the stored update records or online from the server.
#include "ui/PackagesDlg.h"

#include "framework/Handles.h"
#include "packages/PackageInfo.h"
#include "packages/PackageRegistry.h"
#include "update/UpdateQuery.h"
#include "update/UpdateStore.h"

#include <string>

void CPackagesDlg::Populate(bool online)
{
    m_list.DeleteAllItems();

    bool keepChecking = true;
    // Two queries in a row that end by a network time-out: the server counts as
    // unreachable for the rest of the pass, which then takes the stored records.
    int timeoutsInRow = 0;
    // Listed packages, and those whose state an online pass could not learn.
    int listedCount = 0;
    int uncheckedCount = 0;
    if (online)
        m_progress.Create(this);

    CRegKey packages(OpenPackagesKey(kPackagesWalkPath));
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

        char name[256];
        int hiddenCount = 0;
        for (DWORD walkIndex = 0; packages.IsOpen() && EnumPackages(packages, walkIndex, name, kWalkNameSize);
             ++walkIndex) {
            char version[kVersionFieldSize];
            bool hidden;
            bool recordStored;
            {
                CRegKey package(OpenPackageKey(packages, name));
                ReadPackageVersion(package, version);
                hidden = ReadHideFlag(package);
                // Without UpdateVersion the stored record reads as nothing and changes
                // nothing; asking for it only costs a second lookup of the package key.
                recordStored = !hidden && package.IsOpen() &&
                               ::RegQueryValueExA(package, "UpdateVersion", nullptr, nullptr, nullptr, nullptr) ==
                                   ERROR_SUCCESS;
            }
            if (hidden) {
                ++hiddenCount;
                continue;
            }

            ++listedCount;
            char update[kVersionFieldSize] = {};
            bool known = false;
            bool queried = online && keepChecking && timeoutsInRow < 2;
            // Not checked: left unqueried after two time-outs in a row, or a query that
            // the server did not answer (a cancelled query leaves its row as it is).
            bool unchecked = online && keepChecking && !queried;
            if (queried) {
                m_progress.SetProgress(0);
                m_progress.SetStatusText((std::string("Checking for update of ") + name).c_str());
                QueryOutcome outcome;
                known = QueryLatestVersion(name, version, update, keepChecking, m_progress, &outcome);
                timeoutsInRow = outcome.timedOut ? timeoutsInRow + 1 : 0;
                unchecked = keepChecking && !outcome.answered;
            }
            if (unchecked)
                ++uncheckedCount;
            // An unanswered query stored and copied nothing: its row shows what is stored.
            if (!queried || unchecked)
                known = recordStored && UpdateStore(name, version, update, kUpdateRead, nullptr);
            // Both fields are at most 31 characters; keep them terminated whatever filled them.
            update[kVersionFieldSize - 1] = 0;

            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
            item.iItem = (int)walkIndex - hiddenCount;
            item.pszText = name;
            item.state = INDEXTOSTATEIMAGEMASK(1);
            item.stateMask = LVIS_STATEIMAGEMASK;
            item.iImage = known ? 0 : 1;
            int row = m_list.InsertItem(&item);
            if (row < 0)
                continue;
            m_list.SetItemText(row, 1, version);
            m_list.SetItemText(row, 2, update);
        }

        if (holdRedraw) {
            m_list.SetRedraw(TRUE);
            ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
        }
    }

    if (online)
        m_progress.DestroyWindow();
    if (online && keepChecking && uncheckedCount > 0)
        ShowUncheckedWarning(uncheckedCount, listedCount);
}
