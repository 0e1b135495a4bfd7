// AnsiCodePage.h: the lead bytes of the system's ANSI code page, or of any code page.
#pragma once

#include "framework/MultiByte.h"

// The lead bytes of codePage as GetCPInfo reports them; none when it does not know it.
LeadBytes CodePageLeadBytes(unsigned codePage);

// The lead bytes of the ANSI code page (CP_ACP), which a process keeps for its life.
const LeadBytes& AnsiLeadBytes();
