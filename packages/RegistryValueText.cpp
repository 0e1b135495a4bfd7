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

size_t CopyValueText(const char* data, size_t dataSize, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    size_t n = ValueTextLength(data, dataSize);
    if (n > outSize - 1)
        n = outSize - 1;
    // memmove: the text may be terminated in place, in the buffer it was read into.
    if (n)
        memmove(out, data, n);
    out[n] = '\0';
    return n;
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
