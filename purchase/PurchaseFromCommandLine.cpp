// PurchaseFromCommandLine.cpp: the purchase mode for the package named on the command line.
#include "app/PackageApp.h"
#include "purchase/Purchase.h"

void CPackageApp::PurchaseFromCommandLine()
{
    PurchasePackage(m_cmdInfo.m_packageName, m_cmdInfo.m_packageVersion, sizeof(m_cmdInfo.m_packageVersion),
                    kPurchaseFromCommandLine, nullptr);
}
