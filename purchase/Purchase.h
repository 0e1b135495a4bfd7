// Purchase.h: the purchase flow shared by "Buy now" and the command-line purchase
// mode, and the lookup of a package's purchase page.
#pragma once

#include <string>

class CWnd;

// The home page of the maker's web site: the last resort of a purchase.
extern const char kHomePageAddress[];

enum PurchaseWay {
    kPurchaseFromList,         // "Buy now": agreement owned by the main window, "open" on it
    kPurchaseFromCommandLine,  // agreement as the main window; rundll32 url.dll
};

// The purchase page address from the purchase key (HKLM, then HKCU), else the
// package's ProductURL; empty when none is found.
std::string GetPurchaseUrl(std::string company, std::string product, std::string version);

// The purchase flow: shows the package's agreement when it names one and, unless it
// is declined, opens the purchase page (or the home page). version may be replaced by
// "0" for the reseller "RegNow"; versionSize is its buffer's size. owner is the main
// window for kPurchaseFromList.
void PurchasePackage(const char* packageName, char* version, size_t versionSize, PurchaseWay way,
                     CWnd* owner);
