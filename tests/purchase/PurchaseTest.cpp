// PurchaseTest.cpp: the purchase page lookup and the purchase flow, against the
// registry of the prefix, with the opened page caught by the recorder browser.
#include "purchase/Purchase.h"
#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include "tests/purchase/PurchaseSupport.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

const char kSimpleRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 You may use this software.\\par}";

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

// Buys as the main window's "Buy now" does; returns the version afterwards.
std::string BuyFromList(const char* name, const char* version, CWnd* owner)
{
    char buffer[50];
    lstrcpynA(buffer, version, sizeof(buffer));
    PurchasePackage(name, buffer, sizeof(buffer), kPurchaseFromList, owner);
    return buffer;
}

std::string BuyFromCommandLine(const char* name, const char* version)
{
    char buffer[512];
    lstrcpynA(buffer, version, sizeof(buffer));
    PurchasePackage(name, buffer, sizeof(buffer), kPurchaseFromCommandLine, nullptr);
    return buffer;
}

}  // namespace

TEST(GetPurchaseUrl, PurchaseKeyOfMachineThenUser)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "ProductURL", "http://product.example/studio");

    keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio", "2.1", "http://user.example/buy");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), "http://user.example/buy");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://machine.example/buy");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), "http://machine.example/buy");

    // The machine's key without BuyURL still wins: no address, and ProductURL is not read.
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "3.0", nullptr);
    keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio", "3.0", "http://user.example/three");
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "3.0"), "");

    // Other version or company: no purchase key, the package's ProductURL.
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "9.9"), "http://product.example/studio");
    EXPECT_EQ(GetPurchaseUrl("Other Co", "Studio", "2.1"), "http://product.example/studio");
    // Neither: empty.
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Unknown", "2.1"), "");
}

TEST(GetPurchaseUrl, AddressesOfFullLength)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    std::string longest = "http://product.example/" + std::string(1023 - 23, 'p');
    packages.SetString("Studio", "ProductURL", longest.c_str());
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), longest);
    packages.SetString("Studio", "ProductURL", (longest + "x").c_str());
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), "");  // does not fit 1024 bytes

    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", longest.c_str());
    EXPECT_EQ(GetPurchaseUrl("Norvane Ltd", "Studio", "2.1"), longest);
}

TEST(PurchaseFlow, ResellerRegNowLooksUpVersionZero)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "0", "http://buy.example/regnow");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/direct");
    CMainWindow main;

    struct Case {
        const char* reseller;
        const char* address;
        const char* version;
    } cases[] = {
        {"RegNow", "http://buy.example/regnow", "0"},
        {"regnow", "http://buy.example/direct", "2.1"},
        {"RegNow ", "http://buy.example/direct", "2.1"},
        {"Other", "http://buy.example/direct", "2.1"},
    };
    for (const Case& c : cases) {
        packages.SetString("Studio", "Reseller", c.reseller);
        CRecorderLog log;
        EXPECT_EQ(BuyFromList("Studio", "2.1", &main), c.version) << c.reseller;
        EXPECT_EQ(log.WaitForAddress(), c.address) << c.reseller;
    }
}

TEST(PurchaseFlow, HomePageWhenNothingIsFound)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "ProductURL", "http://product.example/studio");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", nullptr);
    CMainWindow main;
    {
        // A purchase key without BuyURL: the home page, not ProductURL.
        CRecorderLog log;
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(log.WaitForAddress(), kHomePageAddress);
    }
    {
        // Without a purchase key ProductURL opens.
        CRecorderLog log;
        BuyFromList("Studio", "5.0", &main);
        EXPECT_EQ(log.WaitForAddress(), "http://product.example/studio");
    }
    {
        // No version (an empty "Current Version" column): no lookup at all.
        keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "", "http://buy.example/empty");
        CRecorderLog log;
        BuyFromList("Studio", "", &main);
        EXPECT_EQ(log.WaitForAddress(), kHomePageAddress);
    }
    {
        // No name: the home page.
        CRecorderLog log;
        BuyFromList("", "2.1", &main);
        EXPECT_EQ(log.WaitForAddress(), kHomePageAddress);
    }
    {
        // No package key, no purchase key.
        CRecorderLog log;
        BuyFromList("Absent", "1.0", &main);
        EXPECT_EQ(log.WaitForAddress(), kHomePageAddress);
    }
}

TEST(PurchaseFlow, CompanyNameFormsThePurchaseKey)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    packages.Add("Studio", "2.1");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/default-company");
    keys.Add(HKEY_LOCAL_MACHINE, "Acme", "Studio", "2.1", "http://buy.example/acme");
    // An empty company: "SoftwarePassport\\\\Studio\\2.1", two backslashes in a row.
    keys.Add(HKEY_LOCAL_MACHINE, "", "Studio", "2.1", "http://buy.example/no-company");
    CMainWindow main;
    {
        CRecorderLog log;
        BuyFromList("Studio", "2.1", &main);  // CompanyName absent
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/default-company");
    }
    {
        packages.SetString("Studio", "CompanyName", "Acme");
        CRecorderLog log;
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/acme");
    }
    {
        packages.SetString("Studio", "CompanyName", "");
        CRecorderLog log;
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/no-company");
    }
}

TEST(PurchaseFlow, PackageWithLongNameIsBought)
{
    ScopedPackages packages;
    // The long key's full path is past what DeleteKeyTree can open.
    struct LongKeysGone {
        ~LongKeysGone() { DeleteTreeStepwise(HKEY_LOCAL_MACHINE, kTestPackagesPath); }
    } gone;
    ScopedPurchaseKeys keys;
    const std::string name(240, 'L');
    const std::string key = std::string(kTestPackagesPath) + "\\" + name;
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "Version", "2.1");
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "CompanyName", "LongCo");
    SetStringStepwise(HKEY_LOCAL_MACHINE, key, "Reseller", "RegNow");
    keys.Add(HKEY_LOCAL_MACHINE, "LongCo", name, "0", "http://buy.example/long");
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", name, "2.1", "http://buy.example/not-this");
    CMainWindow main;
    {
        CRecorderLog log;
        EXPECT_EQ(BuyFromList(name.c_str(), "2.1", &main), "0");
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/long");
    }
    {
        // Its ProductURL is found the same way when there is no purchase key.
        SetStringStepwise(HKEY_LOCAL_MACHINE, key, "Reseller", "");
        SetStringStepwise(HKEY_LOCAL_MACHINE, key, "ProductURL", "http://product.example/long");
        CRecorderLog log;
        EXPECT_EQ(BuyFromList(name.c_str(), "3.0", &main), "3.0");
        EXPECT_EQ(log.WaitForAddress(), "http://product.example/long");
    }
}

TEST(PurchaseFlow, CommandLineOpensThroughUrlDll)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    // No package key: company "Norvane Ltd", the given version.
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio Pack", "2.1", "http://buy.example/studio-pack?a=1&b=2");
    {
        CRecorderLog log;
        EXPECT_EQ(BuyFromCommandLine("Studio Pack", "2.1"), "2.1");
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/studio-pack?a=1&b=2");
    }
    {
        packages.Add("Studio Pack", "2.1");
        packages.SetString("Studio Pack", "Reseller", "RegNow");
        keys.Add(HKEY_CURRENT_USER, "Norvane Ltd", "Studio Pack", "0", "http://buy.example/regnow-user");
        CRecorderLog log;
        EXPECT_EQ(BuyFromCommandLine("Studio Pack", "2.1"), "0");
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/regnow-user");
    }
    {
        CRecorderLog log;
        BuyFromCommandLine("Nothing", "1.0");
        EXPECT_EQ(log.WaitForAddress(), kHomePageAddress);
    }
}

TEST(PurchaseFlow, AgreementFromTheListIsOwnedByTheMainWindow)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    std::string eula = WriteAgreement("eula-list", kSimpleRtf);
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "EULA", eula.c_str());
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/agreed");
    CMainWindow main;
    {
        CRecorderLog log;
        CAgreementDriver driver(Answer::Accept);
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_NE(driver.seen.text.find("You may use this software."), std::string::npos) << driver.seen.text;
        EXPECT_EQ(driver.seen.text.find("rtf1"), std::string::npos);
        EXPECT_EQ(driver.seen.owner, main.m_hWnd);
        EXPECT_FALSE(driver.seen.ownerEnabled);  // modal over the main window
        EXPECT_EQ(driver.seen.fileErrors, 0);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/agreed");
        EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    }
    for (Answer decline : {Answer::Cancel, Answer::CloseBox}) {
        packages.SetString("Studio", "Reseller", "RegNow");
        CRecorderLog log;
        CAgreementDriver driver(decline);
        EXPECT_EQ(BuyFromList("Studio", "2.1", &main), "2.1");  // stopped before the reseller
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_EQ(log.WaitForAddress(1500), "");
        EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    }
    {
        // An empty EULA shows nothing.
        packages.SetString("Studio", "EULA", "");
        packages.SetString("Studio", "Reseller", "");
        CRecorderLog log;
        CAgreementDriver driver(Answer::Cancel);
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(driver.seen.agreements, 0);
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/agreed");
    }
}

TEST(PurchaseFlow, AgreementOnTheCommandLineIsTheMainWindow)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    std::string eula = WriteAgreement("eula-cmd", kSimpleRtf);
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "EULA", eula.c_str());
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/cmd-agreed");
    CWinApp app;
    {
        CRecorderLog log;
        CAgreementDriver driver(Answer::Accept);
        BuyFromCommandLine("Studio", "2.1");
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_NE(driver.seen.text.find("You may use this software."), std::string::npos);
        EXPECT_EQ(driver.seen.owner, nullptr);
        EXPECT_TRUE(driver.seen.dialogWasMainWnd);
        EXPECT_EQ(AfxGetMainWnd(), nullptr);  // not left pointing at the ended dialog
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/cmd-agreed");
    }
    {
        CRecorderLog log;
        CAgreementDriver driver(Answer::Cancel);
        BuyFromCommandLine("Studio", "2.1");
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_EQ(AfxGetMainWnd(), nullptr);
        EXPECT_EQ(log.WaitForAddress(1500), "");
    }
}

TEST(PurchaseFlow, UnreadableAgreementShowsTheFileErrorThenAnEmptyAgreement)
{
    ScopedPackages packages;
    ScopedPurchaseKeys keys;
    std::string missing = WriteAgreement("eula-missing", kSimpleRtf) + ".absent";
    packages.Add("Studio", "2.1");
    packages.SetString("Studio", "EULA", missing.c_str());
    keys.Add(HKEY_LOCAL_MACHINE, "Norvane Ltd", "Studio", "2.1", "http://buy.example/after-error");
    CMainWindow main;
    {
        CRecorderLog log;
        CAgreementDriver driver(Answer::Accept);
        BuyFromList("Studio", "2.1", &main);
        EXPECT_EQ(driver.seen.fileErrors, 1);
        EXPECT_EQ(driver.seen.fileErrorCaption, "Vantorix");
        EXPECT_NE(driver.seen.fileErrorText.find(missing), std::string::npos) << driver.seen.fileErrorText;
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_EQ(driver.seen.text, "");
        EXPECT_EQ(log.WaitForAddress(), "http://buy.example/after-error");
    }
    {
        // A file held open by another without sharing cannot be opened either.
        std::string held = WriteAgreement("eula-held", kSimpleRtf);
        packages.SetString("Studio", "EULA", held.c_str());
        HANDLE lock = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        CRecorderLog log;
        CAgreementDriver driver(Answer::Cancel);
        BuyFromList("Studio", "2.1", &main);
        CloseHandle(lock);
        EXPECT_EQ(driver.seen.fileErrors, 1);
        EXPECT_NE(driver.seen.fileErrorText.find(held), std::string::npos);
        EXPECT_EQ(driver.seen.agreements, 1);
        EXPECT_EQ(log.WaitForAddress(1500), "");
    }
}
