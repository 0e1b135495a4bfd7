// AnsiCodePage.cpp: lead bytes from GetCPInfo; conversions of the ANSI code page.
#include "framework/AnsiCodePage.h"

#include <windows.h>
#include <string.h>

static_assert(sizeof(LeadBytes::ranges) == MAX_LEADBYTES, "LeadBytes holds CPINFO::LeadByte");

LeadBytes CodePageLeadBytes(unsigned codePage)
{
    LeadBytes lead = {};
    CPINFO info;
    if (::GetCPInfo(codePage, &info))
        memcpy(lead.ranges, info.LeadByte, sizeof(lead.ranges));
    return lead;
}

const LeadBytes& AnsiLeadBytes()
{
    static const LeadBytes lead = CodePageLeadBytes(CP_ACP);
    return lead;
}

// A first call with no room tells the length; an empty text gives 0 in both.
std::wstring AnsiToWide(const std::string& text)
{
    std::wstring wide(::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], (int)wide.size());
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    std::string ansi(::WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr),
                     '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &ansi[0], (int)ansi.size(), nullptr, nullptr);
    return ansi;
}

bool AnsiHolds(const std::wstring& text)
{
    BOOL lost = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), (int)text.size(), nullptr, 0, nullptr, &lost);
    return !lost;
}
