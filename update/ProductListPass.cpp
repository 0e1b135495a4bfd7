// ProductListPass.cpp: the walk that decides the product list's package rows.
#include "update/ProductListPass.h"

#include "framework/Handles.h"
#include "update/Progress.h"
#include "update/UpdateQuery.h"
#include "update/UpdateStore.h"

#include <cstring>

namespace {

// The packages that the list shows: every key of the walk but the hidden ones.
int CountListedPackages(HKEY packages)
{
    char name[256];
    int listed = 0;
    for (DWORD walkIndex = 0; EnumPackages(packages, walkIndex, name, kWalkNameSize); ++walkIndex) {
        CRegKey package(OpenPackageKey(packages, name));
        if (!ReadHideFlag(package))
            ++listed;
    }
    return listed;
}

}  // namespace

PassCounts RunProductListPass(bool online, IProgress& progress, CPackageRowSink& sink, const ProxyRule& proxy)
{
    PassCounts counts;
    bool keepChecking = true;
    // Two queries in a row that end by a network time-out: the server counts as
    // unreachable for the rest of the pass, which then takes the stored records.
    int timeoutsInRow = 0;

    CRegKey packages(OpenPackagesKey(kPackagesWalkPath));
    // How many the progress counts to; a package added meanwhile raises it.
    int total = online ? CountListedPackages(packages) : 0;
    char name[256];
    int hiddenCount = 0;
    for (DWORD walkIndex = 0; packages.IsOpen() && EnumPackages(packages, walkIndex, name, kWalkNameSize);
         ++walkIndex) {
        PackageRow row = {name, {}, {}, false, {}};
        bool hidden;
        bool recordStored;
        {
            CRegKey package(OpenPackageKey(packages, name));
            ReadPackageVersion(package, row.version);
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

        ++counts.listed;
        bool queried = online && keepChecking && timeoutsInRow < 2;
        // Not checked: left unqueried after two time-outs in a row, or a query that the
        // server did not answer (a cancelled query does not count).
        bool unchecked = online && keepChecking && !queried;
        if (queried) {
            progress.SetProgress(0);
            if (counts.listed > total)
                total = counts.listed;
            progress.BeginPackage(name, counts.listed, total);
            QueryOutcome outcome;
            QueryLatestVersion(name, row.version, row.update, keepChecking, progress, &outcome, proxy);
            // A cancel at the query's last report comes after the version was stored and
            // copied: the row shows it all the same.
            row.known = row.update[0] != 0;
            if (row.known)
                memcpy(row.page, outcome.pageAddress, sizeof(row.page));
            timeoutsInRow = outcome.timedOut ? timeoutsInRow + 1 : 0;
            unchecked = keepChecking && !outcome.answered;
        }
        if (unchecked)
            ++counts.unchecked;
        // A query that stored no newer version (unanswered, a fault, cancelled, or a version
        // not newer than the installed one) leaves the row to what is stored, as for a row
        // not asked for: the list shows what Refresh would.
        if (!row.known) {
            row.known = recordStored && UpdateStore(name, row.version, row.update, kUpdateRead, nullptr);
            if (row.known)
                UpdateStore(name, row.version, nullptr, kUpdateReadAddress, row.page);
        }
        // Both fields are at most 31 characters; keep them terminated whatever filled them.
        row.update[kVersionFieldSize - 1] = 0;

        sink.AddRow((int)walkIndex - hiddenCount, row);
    }
    counts.cancelled = !keepChecking;
    return counts;
}
