// Purchase.cpp: the purchase flow and the lookup of the purchase page address.
#include "purchase/Purchase.h"
#include "purchase/EulaDlg.h"
#include "framework/AnsiCodePage.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "packages/PackageRegistry.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

const char kHomePageAddress[] = "http://www.norvane.com/";

namespace {

const char kFileProtocolHandlerFormat[] = "url.dll,FileProtocolHandler %s";
const char kRegNowReseller[] = "RegNow";

enum : DWORD {
    kPackageTextSize = 256,  // EULA, Reseller, CompanyName
    kAddressSize = 1024,     // BuyURL, ProductURL
};

// format with its one %s filled in, at any length.
std::string FormatWithText(const char* format, const char* text)
{
    int length = snprintf(nullptr, 0, format, text);
    if (length <= 0)
        return std::string();
    std::string result((size_t)length + 1, '\0');
    snprintf(&result[0], result.size(), format, text);
    result.resize((size_t)length);
    return result;
}

// Wine converts the path of an ANSI registry call through a buffer of MAX_PATH
// characters and refuses a longer one (a package name of 240 characters makes one).
enum { kAnsiKeyPathLimit = MAX_PATH };

// RegOpenKeyExA with KEY_READ (readAccess) or RegOpenKeyA.
LONG OpenOneKey(CRegKey& key, HKEY parent, const char* path, bool readAccess)
{
    return readAccess ? key.OpenEx(parent, path, KEY_READ) : key.Open(parent, path);
}

// Opens path below parent; a path the platform refuses for its length is opened
// key by key.
LONG OpenKeyPath(CRegKey& key, HKEY parent, const char* path, bool readAccess)
{
    LONG rc = OpenOneKey(key, parent, path, readAccess);
    if (rc == ERROR_SUCCESS || strlen(path) < kAnsiKeyPathLimit)
        return rc;
    const size_t slash = FindFirstChar(path, strlen(path), '\\', AnsiLeadBytes());
    if (slash == kNoMatch)
        return rc;
    CRegKey first;
    const std::string head(path, slash);
    if (OpenOneKey(first, parent, head.c_str(), readAccess) != ERROR_SUCCESS)
        return rc;
    return OpenKeyPath(key, first, path + slash + 1, readAccess);
}

std::string ReadAddress(HKEY key, const char* valueName)
{
    char address[kAddressSize];
    ReadTextValue(key, valueName, address, sizeof(address));  // empty when absent
    return address;
}

// Runs the agreement dialog; true when the user accepts.
bool AcceptAgreement(const char* eulaPath, PurchaseWay way, CWnd* owner)
{
    if (way == kPurchaseFromList) {
        CEulaDlg dlg(eulaPath, owner);
        return dlg.DoModal() == IDOK;
    }
    // Without a main dialog the agreement is the application's main window while it
    // is shown.
    CEulaDlg dlg(eulaPath, nullptr);
    CWinApp* app = AfxGetApp();
    CWnd* previous = app ? app->m_pMainWnd : nullptr;
    if (app)
        app->m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    if (app)
        app->m_pMainWnd = previous;
    return result == IDOK;
}

void OpenAddress(const std::string& address, PurchaseWay way, CWnd* owner)
{
    if (way == kPurchaseFromList) {
        ::ShellExecuteA(owner ? owner->m_hWnd : nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    std::string parameters = FormatWithText(kFileProtocolHandlerFormat, address.c_str());
    ::ShellExecuteA(nullptr, "open", "rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

std::string GetPurchaseUrl(std::string company, std::string product, std::string version)
{
    const std::string path = kPurchaseKeyPrefix + company + "\\" + product + "\\" + version;
    CRegKey key;
    if (OpenKeyPath(key, HKEY_LOCAL_MACHINE, path.c_str(), true) == ERROR_SUCCESS ||
        OpenKeyPath(key, HKEY_CURRENT_USER, path.c_str(), true) == ERROR_SUCCESS)
        return ReadAddress(key, "BuyURL");  // the package's ProductURL is not consulted then

    const std::string packagePath = kPackageKeyPrefix + product;
    if (OpenKeyPath(key, HKEY_LOCAL_MACHINE, packagePath.c_str(), true) == ERROR_SUCCESS)
        return ReadAddress(key, "ProductURL");
    return std::string();
}

void PurchasePackage(const char* packageName, char* version, size_t versionSize, PurchaseWay way, CWnd* owner)
{
    const char* name = packageName ? packageName : "";

    // Formed at the name's length, so that every registry name (up to 255
    // characters) gives its own key.
    const std::string keyPath = FormatWithText(kPackageKeyFormat, name);
    CRegKey packageKey;
    OpenKeyPath(packageKey, HKEY_LOCAL_MACHINE, keyPath.c_str(), false);

    if (packageKey.IsOpen()) {
        char eula[kPackageTextSize];
        if (ReadTextValue(packageKey, "EULA", eula, sizeof(eula)) && eula[0] &&
            !AcceptAgreement(eula, way, owner))
            return;

        char reseller[kPackageTextSize];
        if (ReadTextValue(packageKey, "Reseller", reseller, sizeof(reseller)) &&
            strcmp(reseller, kRegNowReseller) == 0 && version && versionSize > 1)
            lstrcpynA(version, "0", (int)versionSize);
    }

    std::string address;
    if (name[0] && version && version[0]) {
        char company[kPackageTextSize];
        ReadCompanyName(packageKey, company);  // a closed key gives "Norvane Ltd"
        address = GetPurchaseUrl(company, name, version);
    }
    packageKey.Close();

    if (address.empty())
        address = kHomePageAddress;
    OpenAddress(address, way, owner);
}
