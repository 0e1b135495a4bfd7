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
    size_t at = 0;
    while (at + 1 < text.size())
        at += CharSize(text.data(), text.size(), at, lead);
    return at + 1 == text.size() && lead.IsLead(static_cast<unsigned char>(text[at]));
}
