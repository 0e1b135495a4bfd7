// FuzzCodePage.h: the code page a fuzz input is read in, chosen by the low bit of its
// first byte (which stays part of the text): odd is Japanese (932), even single-byte.
#pragma once

#include "framework/MultiByte.h"
#include <stddef.h>
#include <stdint.h>
#include <string>

inline LeadBytes FuzzLeadBytes(const uint8_t* data, size_t size)
{
    const LeadBytes japanese = {{0x81, 0x9F, 0xE0, 0xFC}};
    return size && (data[0] & 1) ? japanese : LeadBytes{};
}

// True when text ends in a lead byte that has lost its trail byte.
inline bool EndsInsideChar(const std::string& text, const LeadBytes& lead)
{
    size_t at = 0, last = 0;
    for (; at < text.size(); at += CharSize(text.data(), text.size(), at, lead))
        last = at;
    return !text.empty() && last + 1 == text.size() && lead.IsLead(static_cast<unsigned char>(text[last]));
}

// True when no byte of text leads a character: the split must then be the bytes' own.
inline bool HasNoLeadByte(const std::string& text, const LeadBytes& lead)
{
    for (char c : text)
        if (lead.IsLead(static_cast<unsigned char>(c)))
            return false;
    return true;
}
