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

std::wstring AnsiToWide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], length);
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string ansi(length > 0 ? length : 0, '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &ansi[0], length, nullptr, nullptr);
    return ansi;
}
