// Fuzz_prefs.cpp: a browser profile's prefs.js and the browser path texts.
#include "update/PrefsJs.h"
#include "tests/fuzz/FuzzCodePage.h"
#include <stdint.h>
#include <stdlib.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string host, port;
    if (ParsePrefsProxy(text, host, port) == PrefsProxy::kFound) {
        if (host.size() > kProxyFieldMax || port.size() > kProxyFieldMax)
            abort();
    }
    const LeadBytes lead = FuzzLeadBytes(data, size);
    std::string name = BrowserFileName(text, lead);
    if (name.size() > text.size())
        abort();
    std::string folder;
    if (NetscapeFolder(text, folder, lead) && folder.size() > text.size())
        abort();
    ProxyTextHasHost(text);
    return 0;
}
