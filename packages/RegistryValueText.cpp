// RegistryValueText.cpp: text and flag decoding of package values.
#include "packages/RegistryValueText.h"

#include <string.h>

size_t ValueTextLength(const char* data, size_t dataSize)
{
    if (!data)
        return 0;
    const void* zero = memchr(data, 0, dataSize);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - data) : dataSize;
}

size_t CopyValueText(const char* data, size_t dataSize, char* out, size_t outSize, const LeadBytes& lead)
{
    // The text may be terminated in place, in the buffer it was read into.
    return CopyCharPrefix(out, outSize, data, ValueTextLength(data, dataSize), lead);
}

bool DecodeHideFlag(unsigned long type, const unsigned char* data, size_t dataSize)
{
    if (!data)
        return false;
    if (type == kValueTypeString) {
        const char* text = reinterpret_cast<const char*>(data);
        return ValueTextLength(text, dataSize) == 1 && text[0] == '1';
    }
    if (type == kValueTypeBinary)
        return dataSize >= 1 && data[0] == 1;
    return false;
}
