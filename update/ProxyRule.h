// ProxyRule.h: which proxy an update check takes. Plain logic without windows.h.
#pragma once

#include <string>

struct ProxyRule {
    enum Kind {
        kBrowser,           // the default browser's, as the window takes it
        kBrowserOrMachine,  // the browser's; where that and the account's own settings go
                            // direct, the machine-wide WinHTTP proxy
        kNamed,             // address, whatever the browser says
        kDirect,            // none
    };
    Kind kind = kBrowser;
    std::string address;  // kNamed: HOST:PORT
};

// The HTTP proxy that text names in a form administrators write: HOST:PORT,
// http://HOST:PORT (a trailing '/' allowed), or a per-scheme list as netsh writes it
// ("http=HOST:PORT;https=HOST:PORT", entries separated by ';' or blanks), whose first
// http= entry counts, else its first entry without a scheme (which serves every scheme). HOST is a name of ASCII letters, digits, '-', '.' and '_', or an
// IPv6 address in brackets; PORT is 1 to 65535. portOptional: HOST alone counts too,
// as WinHTTP takes it (port 80). address gets HOST:PORT; on false (another scheme, a
// list without an http= entry, text of any other shape) it stays as it was.
bool ReadProxyAddress(const std::string& text, std::string& address, bool portOptional = false);

// The machine-wide WinHTTP proxy out of the WinHttpSettings value that
// "netsh winhttp set proxy" writes: after three 32-bit words (size, counter, flags,
// whose bit 2 says a proxy is named) come the proxy's length and text, then the bypass
// list's length and text. False when it names no proxy or does not hold together.
bool ParseWinHttpSettings(const unsigned char* data, size_t size, std::string& proxy, std::string& bypass);

// Whether host is on a bypass list: entries separated by ';' or blanks, '*' standing
// for any text, letter case ignored; "<local>" holds every host without a dot.
bool BypassListHolds(const std::string& list, const std::string& host);
