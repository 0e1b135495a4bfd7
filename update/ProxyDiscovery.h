// ProxyDiscovery.h: how the update query reaches the Internet, read from the default
// browser's own proxy settings.
#pragma once

#include "update/ProxyRule.h"

#include <string>

class IProgress;

// The agent, access type and proxy text for InternetOpenA.
struct ProxyChoice {
    const char* agentName = nullptr;  // "Vantorix exe" or "Orrin exe"
    unsigned long accessType = 0;     // INTERNET_OPEN_TYPE_PRECONFIG, _PROXY or _DIRECT
    bool hasProxyText = false;        // false: InternetOpenA gets a null proxy
    std::string proxyText;            // "http://" with the browser's proxy; may be "http://" alone or empty
    bool profileSearched = false;     // a Mozilla-family or Opera profile was searched
};

// Looks up the default browser and its proxy. Reports 20 once the browser is known
// and, after a profile search, 30; false as soon as a report brings a cancellation.
bool DiscoverProxy(IProgress& progress, ProxyChoice& choice);

// The proxy of one query by rule: the named one or none without a look at the browser
// (reporting 20), or the browser's by DiscoverProxy. With kBrowserOrMachine, where the
// browser names no proxy and the account's own settings go direct (as SYSTEM's do),
// the machine-wide WinHTTP proxy, unless its bypass list holds the update server.
bool ChooseProxy(IProgress& progress, const ProxyRule& rule, ProxyChoice& choice);
