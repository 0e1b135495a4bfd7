// ProductListPass.h: one pass over the installed packages that decides every package row
// of the product list, for the main window and the command line alike.
#pragma once

#include "packages/PackageRegistry.h"
#include "update/ProxyRule.h"
#include "update/UpdateResponse.h"

class IProgress;

// A package row as the list shows it.
struct PackageRow {
    const char* name;                    // the package name, as the walk gave it
    char version[kVersionFieldSize];     // column 1: the installed version, or empty
    char update[kVersionFieldSize];      // column 2: the newer version, or empty
    bool known;                          // small image 0, the check mark
    char page[kPageAddressSize];         // with known: the page the query named now, or
                                         // the stored one; may be empty
};

// Receives the rows in order, at their list index (walk index less the hidden ones).
class CPackageRowSink {
public:
    virtual ~CPackageRowSink() {}
    virtual void AddRow(int index, const PackageRow& row) = 0;
};

struct PassCounts {
    int listed = 0;          // rows given to the sink
    int unchecked = 0;       // rows of an online pass whose state the server did not tell
    bool cancelled = false;  // the user cancelled at a progress report
};

// Walks the Packages key: hidden packages are left out; the others take their newer
// version from the stored records offline, or online from the update server (reporting
// to progress, which may have no window, each package with its number among the listed
// ones), until a cancellation or two network
// time-outs in a row, after which the stored records stand in. proxy says which proxy
// the queries take.
PassCounts RunProductListPass(bool online, IProgress& progress, CPackageRowSink& sink,
                              const ProxyRule& proxy = ProxyRule());
