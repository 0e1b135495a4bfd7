// UpdateQuery.cpp: one vers.getLatestVersion call per package over HTTP/1.0 with
// WinINet, through the proxy that the default browser names.
#include "update/UpdateQuery.h"

#include "update/InternetHandle.h"
#include "update/PrefsJs.h"
#include "update/Progress.h"
#include "update/ProxyDiscovery.h"
#include "update/UpdateRequest.h"
#include "update/UpdateResponse.h"
#include "update/UpdateStore.h"
#include "update/VersionCompare.h"

#include <cstring>
#include <string>
#include <vector>

const char kUpdateServerHost[] = "update.norvane.com";

namespace {

const char kUpdatePath[] = "/current_version/server.php";
// A silent server ends the package's query instead of freezing the check.
const DWORD kNetworkTimeoutMs = 15000;

// Whether a network call that failed after starting at startTick ended by the time-out.
// WinINet says so with ERROR_INTERNET_TIMEOUT; Wine's reports a dropped connection after
// the full wait instead.
bool EndedByTimeout(DWORD error, DWORD startTick)
{
    return error == ERROR_INTERNET_TIMEOUT || ::GetTickCount() - startTick >= kNetworkTimeoutMs;
}

// The running progress position; every report updates keepChecking.
class CQueryProgress {
public:
    CQueryProgress(IProgress& progress, bool& keepChecking) : m_progress(progress), m_keepChecking(keepChecking) {}

    // Moves on by step and reports; false when the user has cancelled.
    bool Advance(int step)
    {
        m_position += step;
        return Report();
    }
    bool Report()
    {
        m_keepChecking = !m_progress.SetProgress(m_position);
        return m_keepChecking;
    }
    void SetPosition(int position) { m_position = position; }

private:
    IProgress& m_progress;
    bool& m_keepChecking;
    int m_position = 10;
};

void SetTimeouts(HINTERNET handle)
{
    DWORD timeout = kNetworkTimeoutMs;
    WinInet()->InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    WinInet()->InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
    WinInet()->InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
}

HINTERNET OpenRoot(const ProxyChoice& choice)
{
    // No wininet.dll in the system folder: as if the root handle could not be opened.
    if (!WinInet())
        return nullptr;
    // "http://" alone or an empty text names no proxy that could be connected through.
    if (choice.hasProxyText && !ProxyTextHasHost(choice.proxyText))
        return WinInet()->InternetOpenA("Vantorix exe", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return WinInet()->InternetOpenA(choice.agentName, choice.accessType,
                                    choice.hasProxyText ? choice.proxyText.c_str() : nullptr, nullptr, 0);
}

// The number of bytes to read, from the announced Content-Length; -1 for none usable.
long ExpectedSize(HINTERNET request)
{
    char text[16] = {};
    DWORD size = sizeof(text);
    if (WinInet()->HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return ResponseReadSize(text);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return ResponseReadSize(nullptr);
    // A length too long for the 16-byte field: read it whole to judge it.
    std::string longer(size + 1, '\0');
    DWORD longerSize = size + 1;
    if (!WinInet()->HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, &longer[0], &longerSize, nullptr))
        return -1;
    return ResponseReadSize(longer.c_str());
}

// Reads until size bytes have come or the server ends the data; the text ends at the
// first NUL. timedOut tells whether the server stopped sending before the time-out.
std::string ReadResponse(HINTERNET request, long size, bool& timedOut)
{
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD total = 0;
    while (total < static_cast<DWORD>(size)) {
        DWORD read = 0;
        DWORD start = ::GetTickCount();
        if (!WinInet()->InternetReadFile(request, buffer.data() + total, static_cast<DWORD>(size) - total, &read)) {
            timedOut = EndedByTimeout(::GetLastError(), start);
            break;
        }
        if (read == 0) {
            // Wine ends a body that stalls after the time-out as if it were complete.
            timedOut = EndedByTimeout(ERROR_SUCCESS, start);
            break;
        }
        total += read;
    }
    return std::string(buffer.data());
}

}  // namespace

bool QueryLatestVersion(const char* packageName, const char* installedVersion, char* latestVersion,
                        bool& keepChecking, IProgress& progress, QueryOutcome* outcome, const ProxyRule& proxy)
{
    QueryOutcome ignored;
    if (!outcome)
        outcome = &ignored;
    *outcome = QueryOutcome();

    char body[kUpdateRequestSize];
    if (!FormatUpdateRequest(packageName, installedVersion, body))
        return false;

    CQueryProgress report(progress, keepChecking);
    if (!report.Report())
        return false;

    ProxyChoice choice;
    if (!ChooseProxy(progress, proxy, choice)) {
        keepChecking = false;
        return false;
    }
    report.SetPosition(choice.profileSearched ? 30 : 20);

    CInternetHandle root(OpenRoot(choice));
    if (root.IsOpen())
        SetTimeouts(root);
    if (!report.Advance(10) || !root.IsOpen())
        return false;

    CInternetHandle connection(WinInet()->InternetConnectA(root, kUpdateServerHost, INTERNET_DEFAULT_HTTP_PORT, "",
                                                           "", INTERNET_SERVICE_HTTP, 0, 0));
    if (!report.Advance(10) || !connection.IsOpen())
        return false;

    CInternetHandle request(WinInet()->HttpOpenRequestA(connection, "POST", kUpdatePath, "HTTP/1.0", nullptr,
                                                        nullptr, INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (request.IsOpen())
        SetTimeouts(request);
    if (!report.Advance(10) || !request.IsOpen())
        return false;

    // The body goes out with its terminating NUL as the last byte.
    DWORD sendStart = ::GetTickCount();
    BOOL sent = WinInet()->HttpSendRequestA(request, nullptr, 0, body, static_cast<DWORD>(strlen(body) + 1));
    if (!sent)
        outcome->timedOut = EndedByTimeout(::GetLastError(), sendStart);
    if (!report.Advance(20) || !sent)
        return false;

    long expected = ExpectedSize(request);
    if (!report.Advance(10) || expected < 0)
        return false;

    std::string response = ReadResponse(request, expected, outcome->timedOut);
    request.Close();
    connection.Close();
    root.Close();
    if (!report.Advance(10))
        return false;

    char latest[kLatestVersionSize];
    char address[kPageAddressSize];
    bool parsed = ParseUpdateResponse(response.c_str(), latest, address);
    outcome->answered = parsed || IsFaultResponse(response.c_str());
    if (!parsed)
        return false;
    if (!CompareVersions(installedVersion, latest))
        return false;
    if (!report.Advance(10))
        return false;

    UpdateStore(packageName, installedVersion, latest, kUpdateStoreRecord, address);
    memcpy(latestVersion, latest, strlen(latest) + 1);
    memcpy(outcome->pageAddress, address, sizeof(address));
    return report.Advance(10);
}
