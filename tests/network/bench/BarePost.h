// BarePost.h: one POST as the update query sends it, without discovery, parsing or
// storing: the floor of the update check benchmarks. Plain WinINet, so that a minimal
// program can hold it.
#pragma once

#include "update/UpdateRequest.h"

#include <windows.h>
#include <wininet.h>

#include <string.h>
#include <string>

inline bool BarePost(const std::string& proxy, const char* host, const char* name)
{
    struct Handle {
        HINTERNET h;
        ~Handle() { if (h) InternetCloseHandle(h); }
    };
    char body[kUpdateRequestSize];
    FormatUpdateRequest(name, "1.0", body);
    Handle root = {InternetOpenA("Orrin exe", INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0)};
    Handle connection = {InternetConnectA(root.h, host, INTERNET_DEFAULT_HTTP_PORT, "", "", INTERNET_SERVICE_HTTP, 0, 0)};
    Handle request = {HttpOpenRequestA(connection.h, "POST", "/current_version/server.php", "HTTP/1.0", nullptr,
                                       nullptr, INTERNET_FLAG_NO_CACHE_WRITE, 0)};
    if (!request.h || !HttpSendRequestA(request.h, nullptr, 0, body, (DWORD)strlen(body) + 1))
        return false;
    char buffer[10241];
    DWORD read = 0, total = 0;
    while (total < sizeof(buffer) - 1 && InternetReadFile(request.h, buffer + total, sizeof(buffer) - 1 - total, &read) &&
           read)
        total += read;
    return total > 0;
}
