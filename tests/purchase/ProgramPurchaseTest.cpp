// ProgramPurchaseTest.cpp: the real program's purchase mode and its "Buy now" button.
#include "purchase/Purchase.h"
#include "res/resource.h"
#include "tests/purchase/PurchaseSupport.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>

namespace {

std::string Program()
{
    return "\"" + BinDir() + "vantorix.exe\"";
}

struct FindMain {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMainOf(HWND window, LPARAM param)
{
    FindMain* find = reinterpret_cast<FindMain*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == find->pid && IsWindowVisible(window) && GetDlgItem(window, IDC_BUY_NOW)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(Program, PurchaseModeOpensThePageAndEnds)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio Pack", "1.0");
    packages.SetString("Studio Pack", "Reseller", "RegNow");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio Pack", "0", "http://buy.example/program-regnow");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Other", "2.1", "http://buy.example/program-other");
    {
        CRecorderLog log;
        EXPECT_EQ(RunProcess(Program() + " /n \"Studio Pack\" /v 2.1", 30000), 0);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/program-regnow");
    }
    {
        CRecorderLog log;  // no package key: the given version
        EXPECT_EQ(RunProcess(Program() + " -n Other /v 2.1", 30000), 0);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/program-other");
    }
}

TEST(Program, BuyNowBuysTheRowAtTheSelectionMark)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Alpha", "1.0");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Alpha", "1.0", "http://buy.example/alpha");
    CRecorderLog log;
    HANDLE process = StartProcess(Program());
    ASSERT_NE(process, nullptr);
    FindMain find = {GetProcessId(process), nullptr};
    for (int i = 0; i < 300 && !find.found; ++i) {
        Sleep(50);
        EnumWindows(FindMainOf, reinterpret_cast<LPARAM>(&find));
    }
    if (find.found) {
        HWND list = GetDlgItem(find.found, IDC_PRODUCT_LIST);
        EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
        SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
        HWND buyNow = GetDlgItem(find.found, IDC_BUY_NOW);
        EnableWindow(buyNow, TRUE);  // as a click on the row does
        SendMessageA(find.found, WM_COMMAND, MAKEWPARAM(IDC_BUY_NOW, BN_CLICKED), (LPARAM)buyNow);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/alpha");
        PostMessageA(find.found, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0);
    }
    EXPECT_NE(find.found, nullptr);
    EXPECT_EQ(WaitProcess(process, 20000), 0);
    CloseHandle(process);
}
