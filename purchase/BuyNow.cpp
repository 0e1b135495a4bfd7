// BuyNow.cpp: "Buy now" of the main window: the purchase of the row at the selection mark.
#include "ui/PackagesDlg.h"
#include "purchase/Purchase.h"
#include "framework/AnsiCodePage.h"

#include <string.h>

void CPackagesDlg::BuyNow()
{
    const int row = m_list.GetSelectionMark();
    char name[256];
    char version[50];
    m_list.GetItemText(row, 0, name, sizeof(name));
    // A component row's version may be longer than the 49 bytes taken: read it whole and
    // cut it here on a character boundary (the list's own cut may split a character).
    char text[256];
    m_list.GetItemText(row, 1, text, sizeof(text));
    CopyCharPrefix(version, sizeof(version), text, strlen(text), AnsiLeadBytes());
    PurchasePackage(name, version, sizeof(version), kPurchaseFromList, this);
}
