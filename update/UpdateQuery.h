// UpdateQuery.h: the update query of one package over HTTP (one XML-RPC call).
#pragma once

#include "update/ProxyRule.h"
#include "update/UpdateResponse.h"

class IProgress;

// The maker's update server.
extern const char kUpdateServerHost[];

// Asks the update server for the latest version of packageName. True when the server
// announced a version newer than installedVersion, it was stored as the package's
// UpdateRecord and copied into latestVersion (32 bytes, zero-filled by the caller),
// and the user had not cancelled at the last progress report. keepChecking becomes
// false once a progress report brings a cancellation. outcome, when given, tells how
// the exchange went. proxy says which proxy the query takes (ChooseProxy).
struct QueryOutcome {
    bool timedOut = false;  // a network call ended by the time-out
    bool answered = false;  // an answer told the package's state: a version, or a fault
    char pageAddress[kPageAddressSize] = {};  // the newer version's page, when true
};
bool QueryLatestVersion(const char* packageName, const char* installedVersion, char* latestVersion,
                        bool& keepChecking, IProgress& progress, QueryOutcome* outcome = nullptr,
                        const ProxyRule& proxy = ProxyRule());
