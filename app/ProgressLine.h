// ProgressLine.h: the line that a check shows on a console while it runs, "Checking 3 of
// 12: Norvane Studio", rewritten in place. Plain logic without windows.h.
#pragma once

#include "framework/MultiByte.h"

#include <stddef.h>
#include <string>

// The text that replaces the line shown (shown bytes long; 0 when none is) with the one
// for package index of total: CR, the line cut to width - 1 bytes on a character
// boundary (a console cell per byte: a double-byte character takes two), control
// characters as blanks, then blanks over the rest of the line before. shown becomes the
// new line's length.
std::string ProgressLineText(const char* name, int index, int total, size_t width, size_t& shown,
                             const LeadBytes& lead);

// The text that blanks the line shown and leaves the cursor at its start; empty when
// none is shown. shown becomes 0.
std::string ClearedProgressLine(size_t& shown);
