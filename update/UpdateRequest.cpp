// UpdateRequest.cpp: the XML-RPC body of one update query.
#include "update/UpdateRequest.h"

#include <cstdio>
#include <cstring>

namespace {

const char kRequestFormat[] =
    "<?xml version= %c1.0%c ?>\t<methodCall><methodName>vers.getLatestVersion</methodName>"
    "<params><param><value><array><data><value><string>%s</string></value>"
    "<value><string>%s</string></value></data></array></value></param>"
    "<param><value>BortnelXMLRPCClient</value></param></params></methodCall>";

}  // namespace

bool FormatUpdateRequest(const char* packageName, const char* installedVersion, char (&body)[kUpdateRequestSize])
{
    memset(body, 0, sizeof(body));
    if (!packageName || !installedVersion)
        return false;
    size_t values = strlen(packageName) + strlen(installedVersion);
    if (values > kUpdateRequestSize - 1 - kUpdateRequestFixedLength)
        return false;
    int n = snprintf(body, sizeof(body), kRequestFormat, '"', '"', packageName, installedVersion);
    if (n < 0 || static_cast<size_t>(n) >= sizeof(body)) {
        memset(body, 0, sizeof(body));
        return false;
    }
    return true;
}
