// InternetFunctions.cpp: the WinINet function table, loaded once.
#include "framework/InternetFunctions.h"
#include "framework/SystemLibrary.h"

namespace {

bool LoadInternetFunctions(InternetFunctions& f)
{
    HMODULE module = LoadSystemLibrary("wininet.dll");
    if (!module)
        return false;
    f.InternetOpenA = GetLibraryProc<decltype(f.InternetOpenA)>(module, "InternetOpenA");
    f.InternetConnectA = GetLibraryProc<decltype(f.InternetConnectA)>(module, "InternetConnectA");
    f.InternetSetOptionA = GetLibraryProc<decltype(f.InternetSetOptionA)>(module, "InternetSetOptionA");
    f.HttpOpenRequestA = GetLibraryProc<decltype(f.HttpOpenRequestA)>(module, "HttpOpenRequestA");
    f.HttpSendRequestA = GetLibraryProc<decltype(f.HttpSendRequestA)>(module, "HttpSendRequestA");
    f.HttpQueryInfoA = GetLibraryProc<decltype(f.HttpQueryInfoA)>(module, "HttpQueryInfoA");
    f.InternetReadFile = GetLibraryProc<decltype(f.InternetReadFile)>(module, "InternetReadFile");
    f.InternetCloseHandle = GetLibraryProc<decltype(f.InternetCloseHandle)>(module, "InternetCloseHandle");
    return f.InternetOpenA && f.InternetConnectA && f.InternetSetOptionA && f.HttpOpenRequestA &&
           f.HttpSendRequestA && f.HttpQueryInfoA && f.InternetReadFile && f.InternetCloseHandle;
}

}  // namespace

const InternetFunctions* WinInet()
{
    static InternetFunctions functions;
    static const bool loaded = LoadInternetFunctions(functions);
    return loaded ? &functions : nullptr;
}
