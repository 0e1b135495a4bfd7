// RegistryValueText.h: decoding the bytes of package values read from the registry.
// Plain logic without windows.h, so that it can be fuzzed natively.
#pragma once

#include "framework/MultiByte.h"

#include <stddef.h>

// Registry value types as the registry numbers them.
enum : unsigned long {
    kValueTypeString = 1,  // REG_SZ
    kValueTypeBinary = 3,  // REG_BINARY
};

// The length of the text in data: up to its first zero byte or the end of the data.
size_t ValueTextLength(const char* data, size_t dataSize);

// Copies the text of data (up to its first zero or its end) into out, cut to at most
// outSize - 1 bytes on a character boundary, and terminates it. Returns the length
// copied.
size_t CopyValueText(const char* data, size_t dataSize, char* out, size_t outSize, const LeadBytes& lead);

// Hide: REG_SZ whose text is exactly "1", or REG_BINARY whose first byte is 1.
bool DecodeHideFlag(unsigned long type, const unsigned char* data, size_t dataSize);
