// AnsiCodePage.cpp: lead bytes from GetCPInfo.
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
