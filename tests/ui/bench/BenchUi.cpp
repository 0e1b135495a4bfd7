// BenchUi.cpp: figures of the product list: an offline pass over many packages beside
// the registry reads it cannot avoid, and one mouse move over a short and a long list.
// Prints BENCH|<label>|<value ms>|<floor ms>|<ratio>|<target> lines.
#include "tests/support/Bench.h"
#include "packages/PackageInfo.h"
#include "res/resource.h"
#include "ui/PackagesDlg.h"

#include <stdio.h>
#include <string.h>
#include <string>

namespace {

const char kPackages[] = "SOFTWARE\\Norvane\\Packages";


// count visible packages; every fifth with a stored newer version.
void SeedPackages(int count)
{
    BenchRemovePackages();
    HKEY root;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPackages, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (int i = 0; i < count; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "Package%06d", i);
        HKEY key;
        if (RegCreateKeyExA(root, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExA(key, "Version", 0, REG_SZ, (const BYTE*)"1.0.0", 6);
        if (i % 5 == 0)
            RegSetValueExA(key, "UpdateVersion", 0, REG_SZ, (const BYTE*)"1.2", 3);
        RegCloseKey(key);
    }
    RegCloseKey(root);
}

// The registry reads of one pass and nothing else: walk, Version, Hide, UpdateVersion.
double FloorPass()
{
    double start = BenchNowMs();
    HKEY root;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kPackages, &root) != ERROR_SUCCESS)
        return 0;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(root, i, name, 255) == ERROR_SUCCESS; ++i) {
        HKEY key;
        if (RegOpenKeyA(root, name, &key) != ERROR_SUCCESS)
            continue;
        DWORD size = 0;
        RegQueryValueExA(key, "Version", nullptr, nullptr, nullptr, &size);
        char version[64];
        size = sizeof(version);
        RegQueryValueExA(key, "Version", nullptr, nullptr, (BYTE*)version, &size);
        char hide[2];
        DWORD type;
        size = sizeof(hide);
        RegQueryValueExA(key, "Hide", nullptr, &type, (BYTE*)hide, &size);
        char update[21] = {};
        size = 20;
        RegQueryValueExA(key, "UpdateVersion", nullptr, nullptr, (BYTE*)update, &size);
        RegCloseKey(key);
    }
    RegCloseKey(root);
    return BenchNowMs() - start;
}

double PopulatePass(CPackagesDlg& dlg)
{
    double start = BenchNowMs();
    dlg.Populate(false);
    return BenchNowMs() - start;
}

// One WM_MOUSEMOVE over a row without a link, through PreTranslateMessage (mean of many).
double MouseMove(CPackagesDlg& dlg)
{
    RECT rc;
    dlg.m_list.GetItemRect(1, &rc, LVIR_BOUNDS);
    POINT screen = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(dlg.m_list.m_hWnd, &screen);
    MSG msg = {};
    msg.hwnd = dlg.m_list.m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.pt = screen;
    const int moves = 500;
    double start = BenchNowMs();
    for (int i = 0; i < moves; ++i)
        dlg.PreTranslateMessage(&msg);
    return (BenchNowMs() - start) / moves;
}

}  // namespace

int main()
{
    InitCommonControls();
    {
        // Without the component every pass would stop at its warning.
        CPackageInfoClient info;
        if (!info.IsCreated()) {
            fprintf(stderr, "bench_ui: the package information component is not registered\n");
            return 1;
        }
    }
    double populate10k = 0;
    for (int count : {1000, 10000, 20000}) {
        SeedPackages(count);
        CPackagesDlg dlg;
        if (!dlg.Create(IDD_VANTORIX_DIALOG)) {
            fprintf(stderr, "the main dialog could not be created\n");
            return 1;
        }
        int runs = count > 5000 ? 3 : 5;
        double floor = BenchBest(runs, FloorPass);
        double pass = BenchBest(runs, [&] { return PopulatePass(dlg); });
        char label[96];
        snprintf(label, sizeof(label), "offline Populate, %d packages", count);
        BenchPrint(label, pass, floor, "<= 2x floor");
        if (count == 10000)
            populate10k = pass;
        if (count == 20000 && populate10k > 0)
            BenchPrint("offline Populate, 20000 over 10000 packages", pass, populate10k, "<= 2.2x");
        if (dlg.m_list.GetItemCount() != count)
            fprintf(stderr, "expected %d rows, found %d\n", count, dlg.m_list.GetItemCount());
        dlg.DestroyWindow();
    }

    double move100 = 0;
    for (int count : {100, 10000}) {
        SeedPackages(count);
        CPackagesDlg dlg;
        if (!dlg.Create(IDD_VANTORIX_DIALOG))
            return 1;
        double move = BenchBest(7, [&] { return MouseMove(dlg); });
        if (count == 100) {
            move100 = move;
            BenchPrint("mouse move over the list, 100 rows", move, move, "reference");
        } else {
            BenchPrint("mouse move over the list, 10000 rows", move, move100, "<= 1.5x the 100-row move");
        }
        dlg.DestroyWindow();
    }
    BenchRemovePackages();
    return 0;
}
