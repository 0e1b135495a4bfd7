// Fuzz_update_response.cpp: the update server's answer, its announced length, the
// request body formed from hostile names, and the machine-wide proxy settings with
// their bypass list.
#include "update/ProxyRule.h"
#include "update/UpdateRequest.h"
#include "update/UpdateResponse.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    char latest[kLatestVersionSize];
    char address[kPageAddressSize];
    if (ParseUpdateResponse(text.c_str(), latest, address)) {
        if (strnlen(latest, sizeof(latest)) >= sizeof(latest) || strnlen(address, sizeof(address)) >= sizeof(address))
            abort();
        if (strstr(text.c_str(), "<fault>"))
            abort();
        // Only dotted decimal: digits and dots, a digit at either end.
        const size_t n = strlen(latest);
        if (!n || strspn(latest, "0123456789.") != n || latest[0] == '.' || latest[n - 1] == '.')
            abort();
    }

    std::string proxy, bypass;
    if (ParseWinHttpSettings(data, size, proxy, bypass) && (proxy.empty() || proxy.size() + bypass.size() + 20 > size))
        abort();
    BypassListHolds(text, "update.norvane.com");
    // An address read from a setting reads as itself.
    std::string machine, again;
    if (ReadProxyAddress(text, machine, true) && (!ReadProxyAddress(machine, again, true) || again != machine))
        abort();

    std::string length = text.substr(0, 15);
    long n = ResponseReadSize(length.c_str());
    if (n > kMaxResponseSize || n < -1)
        abort();

    size_t cut = text.find('\n');
    std::string name = text.substr(0, cut).c_str();
    std::string version = cut == std::string::npos ? std::string() : std::string(text.substr(cut + 1).c_str());
    char body[kUpdateRequestSize];
    if (FormatUpdateRequest(name.c_str(), version.c_str(), body)) {
        if (strlen(body) != kUpdateRequestFixedLength + name.size() + version.size())
            abort();
    } else if (body[0] != 0) {
        abort();
    }
    return 0;
}
