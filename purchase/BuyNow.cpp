// BuyNow.cpp: "Buy now" of the main window: the purchase of the row at the selection mark.
#include "ui/PackagesDlg.h"
#include "purchase/Purchase.h"

void CPackagesDlg::BuyNow()
{
    const int row = m_list.GetSelectionMark();
    char name[256];
    char version[50];
    m_list.GetItemText(row, 0, name, sizeof(name));
    m_list.GetItemText(row, 1, version, sizeof(version));
    PurchasePackage(name, version, sizeof(version), kPurchaseFromList, this);
}
