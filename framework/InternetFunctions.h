// InternetFunctions.h: the WinINet functions that the program calls, taken from
// wininet.dll in the system folder instead of through the import table.
#pragma once

#include <windows.h>
#include <wininet.h>

struct InternetFunctions {
    decltype(&::InternetOpenA) InternetOpenA;
    decltype(&::InternetConnectA) InternetConnectA;
    decltype(&::InternetSetOptionA) InternetSetOptionA;
    decltype(&::HttpOpenRequestA) HttpOpenRequestA;
    decltype(&::HttpSendRequestA) HttpSendRequestA;
    decltype(&::HttpQueryInfoA) HttpQueryInfoA;
    decltype(&::InternetReadFile) InternetReadFile;
    decltype(&::InternetCloseHandle) InternetCloseHandle;
};

// Loaded on the first call; the library then stays loaded for the process's life, as
// its handles and its own threads need. Null when wininet.dll is not in the system
// folder or lacks one of the functions.
const InternetFunctions* WinInet();
