// PurchaseTest.cpp: the purchase page lookup and the purchase flow, against the
// registry of the prefix, with the opened page caught by the recorder browser.
#include "purchase/EulaDlg.h"
#include "purchase/Purchase.h"
#include "framework/WinApp.h"
#include "tests/purchase/PurchaseSupport.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>

namespace {

const char kRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 You may use this software.\\par}";

// A top-level window standing in for the main window of "Buy now".
class CMainWindow : public CWnd {
public:
    CMainWindow()
    {
        m_hWnd = CreateWindowExA(0, "STATIC", "Main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~CMainWindow() override { DestroyWindow(); }
};

struct Bought {
    std::string version;  // the caller's version buffer afterwards
    std::string address;  // the page the browser was asked to open; empty: none
};

// One purchase, as "Buy now" (owner given) or the command line (no owner) does it.
Bought Buy(const char* name, const char* version, CWnd* owner, DWORD waitMs = 20000)
{
    CRecorderLog log;
    char buffer[512];
    lstrcpynA(buffer, version, owner ? 50 : 512);
    PurchasePackage(name, buffer, owner ? 50 : 512, owner ? kPurchaseFromList : kPurchaseFromCommandLine, owner);
    return {buffer, log.WaitForAddress(waitMs)};
}

}  // namespace

TEST(GetPurchaseUrl, PurchaseKeyOfMachineThenUserThenProductUrl)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "ProductURL", "http://product.example/studio");

    keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio", "2.1", "http://user.example/buy");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), "http://user.example/buy");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://machine.example/buy");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), "http://machine.example/buy");
    // A purchase key without BuyURL wins too: no address, ProductURL is not read.
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "3.0", nullptr);
    keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio", "3.0", "http://user.example/three");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "3.0"), "");
    EXPECT_EQ(GetPurchaseUrl("Other Co", "Studio", "2.1"), "http://product.example/studio");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Unknown", "2.1"), "");
}

TEST(PurchaseFlow, ResellerCompanyAndFallbacks)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "ProductURL", "http://product.example/studio");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "0", "http://buy.example/regnow");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/direct");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "4.0", nullptr);
    keys.Add(HKEY_LOCAL_MACHINE, "Acme", "Studio", "2.1", "http://buy.example/acme");
    keys.Add(HKEY_LOCAL_MACHINE, "", "Studio", "2.1", "http://buy.example/no-company");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "", "http://buy.example/no-version");
    CMainWindow main;

    packages.SetString("Studio", "Reseller", "RegNow");
    Bought regNow = Buy("Studio", "2.1", &main);
    EXPECT_EQ(regNow.version, "0");
    EXPECT_EQ(regNow.address, "http://buy.example/regnow");
    for (const char* other : {"regnow", "RegNow ", ""}) {
        packages.SetString("Studio", "Reseller", other);
        Bought direct = Buy("Studio", "2.1", &main);
        EXPECT_EQ(direct.version, "2.1") << other;
        EXPECT_EQ(direct.address, "http://buy.example/direct") << other;
    }
    EXPECT_EQ(Buy("Studio", "4.0", &main).address, kHomePageAddress);  // key without BuyURL
    EXPECT_EQ(Buy("Studio", "5.0", &main).address, "http://product.example/studio");
    EXPECT_EQ(Buy("Studio", "", &main).address, kHomePageAddress);  // no version: no lookup
    EXPECT_EQ(Buy("", "2.1", &main).address, kHomePageAddress);
    EXPECT_EQ(Buy("Absent", "2.1", &main).address, kHomePageAddress);

    packages.SetString("Studio", "CompanyName", "Acme");
    EXPECT_EQ(Buy("Studio", "2.1", &main).address, "http://buy.example/acme");
    // An empty company: "SoftwarePassport\\\\Studio\\2.1", two backslashes in a row.
    packages.SetString("Studio", "CompanyName", "");
    EXPECT_EQ(Buy("Studio", "2.1", &main).address, "http://buy.example/no-company");
}

TEST(PurchaseFlow, PackageWithLongNameIsBought)
{
    ScopedPackages packages;
    struct LongKeysGone {  // past what DeleteKeyTree can open
        ~LongKeysGone() { DeleteTreeStepwise(HKEY_LOCAL_MACHINE, kTestPackagesPath); }
    } gone;
    ScopedPurchaseKeys keys;
    const std::string name(240, 'L');
    const std::string key = std::string(kTestPackagesPath) + "\\" + name;
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "CompanyName", "LongCo");
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "Reseller", "RegNow");
    keys.Add(HKEY_LOCAL_MACHINE, "LongCo", name, "0", "http://buy.example/long");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", name, "2.1", "http://buy.example/not-this");
    CMainWindow main;
    Bought bought = Buy(name.c_str(), "2.1", &main);
    EXPECT_EQ(bought.version, "0");
    EXPECT_EQ(bought.address, "http://buy.example/long");

    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "Reseller", "");
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "ProductURL", "http://product.example/long");
    EXPECT_EQ(Buy(name.c_str(), "3.0", &main).address, "http://product.example/long");
}

TEST(PurchaseFlow, CommandLineOpensThroughUrlDll)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    // No package key: company "Norvane Ltd", the given version.
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio Pack", "2.1", "http://buy.example/pack?a=1&b=2");
    EXPECT_EQ(Buy("Studio Pack", "2.1", nullptr).address, "http://buy.example/pack?a=1&b=2");
    packages.Add("Studio Pack", "2.1");
    packages.SetString("Studio Pack", "Reseller", "RegNow");
    keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio Pack", "0", "http://buy.example/regnow-user");
    Bought regNow = Buy("Studio Pack", "2.1", nullptr);
    EXPECT_EQ(regNow.version, "0");
    EXPECT_EQ(regNow.address, "http://buy.example/regnow-user");
    EXPECT_EQ(Buy("Nothing", "1.0", nullptr).address, kHomePageAddress);
}

TEST(PurchaseFlow, AgreementAcceptedOrDeclinedInBothWays)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "EULA", WriteAgreement("eula", kRtf).c_str());
    packages.SetString("Studio", "Reseller", "RegNow");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "0", "http://buy.example/agreed");
    CMainWindow main;
    CWinApp app;

    for (CWnd* owner : {static_cast<CWnd*>(&main), static_cast<CWnd*>(nullptr)}) {
        SCOPED_TRACE(owner ? "Buy now" : "command line");
        {
            CAgreementDriver driver(Answer::Accept);
            EXPECT_EQ(Buy("Studio", "2.1", owner).address, "http://buy.example/agreed");
            EXPECT_EQ(driver.seen.agreements, 1);
            EXPECT_NE(driver.seen.text.find("You may use this software."), std::string::npos) << driver.seen.text;
            EXPECT_EQ(driver.seen.text.find("rtf1"), std::string::npos);
            EXPECT_EQ(driver.seen.owner, owner ? main.m_hWnd : nullptr);
            EXPECT_FALSE(driver.seen.ownerEnabled);  // modal over the main window
            EXPECT_EQ(driver.seen.dialogWasMainWnd, owner == nullptr);
            EXPECT_EQ(AfxGetMainWnd(), nullptr);  // not left on the ended dialog
        }
        for (Answer decline : {Answer::Cancel, Answer::CloseBox}) {
            CAgreementDriver driver(decline);
            Bought declined = Buy("Studio", "2.1", owner, 1500);
            EXPECT_EQ(driver.seen.agreements, 1);
            EXPECT_EQ(declined.address, "");
            EXPECT_EQ(declined.version, "2.1");  // stopped before the reseller
        }
        EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    }
    // An empty EULA shows nothing.
    packages.SetString("Studio", "EULA", "");
    CAgreementDriver driver(Answer::Cancel);
    EXPECT_EQ(Buy("Studio", "2.1", &main).address, "http://buy.example/agreed");
    EXPECT_EQ(driver.seen.agreements, 0);
}

TEST(PurchaseFlow, UnreadableAgreementShowsTheFileErrorThenAnEmptyAgreement)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    const std::string missing = WriteAgreement("eula-missing", kRtf) + ".absent";
    const std::string held = WriteAgreement("eula-held", kRtf);
    packages.Add("Studio", "2.1");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/after-error");
    CMainWindow main;
    // Missing, or held open by another without sharing.
    HANDLE lock = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    for (const std::string& path : {missing, held}) {
        packages.SetString("Studio", "EULA", path.c_str());
        CAgreementDriver driver(Answer::Accept);
        EXPECT_EQ(Buy("Studio", "2.1", &main).address, "http://buy.example/after-error");
        EXPECT_EQ(driver.seen.fileErrors, 1);
        EXPECT_EQ(driver.seen.fileErrorCaption, "Vantorix");
        EXPECT_NE(driver.seen.fileErrorText.find(path), std::string::npos) << driver.seen.fileErrorText;
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_EQ(driver.seen.text, "");
    }
    CloseHandle(lock);
}

TEST(PurchaseFlow, LongAgreementIsShownToItsLastWords)
{
    // 60,000 characters, past the rich edit's default limit of 32,767; the markup makes
    // the file larger than its text.
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    size_t chars = 0;
    for (int clause = 1; chars < 60000; ++clause) {
        char text[96];
        int n = snprintf(text, sizeof(text), "%05d. The licensee keeps this clause in mind. ", clause);
        rtf += std::string("{\\b ") + text + "}";
        chars += (size_t)n;
    }
    rtf += "These are the last words of the agreement.\\par}";
    const std::string path = WriteAgreement("eula-long", rtf);
    CMainWindow main;

    CAgreementDriver driver(Answer::Accept);
    CEulaDlg dlg(path.c_str(), &main);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(driver.seen.agreements, 1);
    EXPECT_GE(driver.seen.limit, (LRESULT)rtf.size());
    EXPECT_GT(driver.seen.text.size(), chars);
    EXPECT_NE(driver.seen.text.find("00001. The licensee"), std::string::npos);
    EXPECT_NE(driver.seen.text.find("These are the last words of the agreement."), std::string::npos)
        << driver.seen.text.substr(driver.seen.text.size() > 200 ? driver.seen.text.size() - 200 : 0);
}
