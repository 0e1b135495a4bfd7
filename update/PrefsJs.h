// PrefsJs.h: the HTTP proxy of a Mozilla-family "prefs.js", and the other texts of
// proxy discovery that need no system call. Plain logic without windows.h.
#pragma once

#include "framework/MultiByte.h"

#include <string>

// Longest proxy host and port taken from a profile.
const size_t kProxyFieldMax = 50;

// What a profile says about its HTTP proxy.
enum class PrefsProxy {
    kNone,      // no "network.proxy.http" entry at all
    kUnusable,  // an entry whose host or port is too long or not closed
    kFound,     // host, and port when the file names one
};

// Reads the host (22 characters after the first "network.proxy.http", up to the next
// '"') and the port (26 characters after the first "network.proxy.http_port", up to the
// next ')') out of the file's text. Firefox writes the file in UTF-8, not in the ANSI
// code page; no byte of a UTF-8 multi-byte character is ASCII, so bytes are exact.
PrefsProxy ParsePrefsProxy(const std::string& prefs, std::string& host, std::string& port);

// The browser's file name: the ANSI path after its last '\' character (the whole path
// without one).
std::string BrowserFileName(const std::string& browserPath, const LeadBytes& lead);

// Netscape keeps its profiles beside the program: the ANSI path up to and including the
// character after its first (case-sensitive) "Netscape" that starts at a character.
// False when it has none.
bool NetscapeFolder(const std::string& browserPath, std::string& folder, const LeadBytes& lead);

// True when a proxy text names a host: "http://" alone, an empty text or one whose
// host part is empty cannot be connected through.
bool ProxyTextHasHost(const std::string& proxyText);
