// AnsiCodePage.h: the lead bytes of the system's ANSI code page, or of any code page,
// and conversions between it and Unicode.
#pragma once

#include "framework/MultiByte.h"

#include <string>

// The lead bytes of codePage as GetCPInfo reports them; none when it does not know it.
LeadBytes CodePageLeadBytes(unsigned codePage);

// The lead bytes of the ANSI code page (CP_ACP), which a process keeps for its life.
const LeadBytes& AnsiLeadBytes();

// Text between the ANSI code page and Unicode; a character the ANSI code page cannot
// hold becomes its best fit or '?'.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
// Whether the ANSI code page holds every character of text as it is, without a best fit.
bool AnsiHolds(const std::wstring& text);
