// UpdateResponse.h: reading the update server's answer to one query. Plain logic
// without windows.h.
#pragma once

#include <cstddef>

const size_t kLatestVersionSize = 20;   // at most 19 characters
const size_t kPageAddressSize = 256;    // at most 255 characters

// Size of the response buffer when the server announces no length.
const long kDefaultResponseSize = 10240;
// Largest announced length that is read.
const long kMaxResponseSize = 1024 * 1024;

// The number of bytes to read for an announced Content-Length text (null when none was
// announced): the leading number as atol reads it, 10240 when there is none or it is
// negative, -1 when it is larger than kMaxResponseSize (no usable response).
long ResponseReadSize(const char* contentLength);

// True when the response text holds "<fault>" anywhere: the server knows nothing newer.
bool IsFaultResponse(const char* text);

// Picks the latest version and the page address (empty when the answer names none) out
// of the response text. False for a fault anywhere, no CurrentVersion, a value without
// its "string" or "</string>", a version that is not dotted decimal (digits and dots,
// starting and ending with a digit) or over 19 characters, or an address over 255.
// Both outputs are zero-filled first. The answer is the server's XML, not ANSI text of
// this system, so its bytes are searched as they are.
bool ParseUpdateResponse(const char* text, char (&latestVersion)[kLatestVersionSize],
                         char (&pageAddress)[kPageAddressSize]);
