// UpdateStore.h: the one operation that reads, stores and clears a package's
// UpdateRecord (UpdateVersion and ProductUpdateUrl under its package key).
#pragma once

enum UpdateStoreMode {
    kUpdateRead = 0,         // read UpdateVersion; true when it is newer (else cleared)
    kUpdateStoreRecord = 1,  // write UpdateVersion and, when given, ProductUpdateUrl
    kUpdateClear = 2,        // delete both values; always false
    kUpdateReadAddress = 3,  // read ProductUpdateUrl into a 256-byte buffer
};

// packageName must equal a subkey name of the Packages key exactly (letter case
// included). versionText: mode 0 output (32 bytes, may be null), mode 1 input.
// urlBuffer: mode 1 input (may be null), mode 3 output (256 bytes, zero-filled).
bool UpdateStore(const char* packageName, const char* installedVersion, char* versionText,
                 int mode, char* urlBuffer);
