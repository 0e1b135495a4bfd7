// PageAddress.h: which stored page addresses are web pages that may be opened. Plain
// logic without windows.h.
#pragma once

// True when address starts with "http://" or "https://", letter case ignored.
bool IsWebPageAddress(const char* address);
