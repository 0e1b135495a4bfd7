// ProgressLine.cpp: the console's progress line of a check.
#include "app/ProgressLine.h"

#include <stdio.h>

std::string ProgressLineText(const char* name, int index, int total, size_t width, size_t& shown,
                             const LeadBytes& lead)
{
    char head[48];
    snprintf(head, sizeof(head), "Checking %d of %d: ", index, total);
    std::string line = std::string(head) + (name ? name : "");
    // Byte by byte: no code page has a trail byte below 0x20, so this never splits a
    // character, and a broken one (a lead byte before a line break) moves no cursor.
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    line.resize(CharPrefixLength(line.data(), line.size(), width > 0 ? width - 1 : 0, lead));
    std::string text = "\r" + line;
    if (shown > line.size())
        text.append(shown - line.size(), ' ');
    shown = line.size();
    return text;
}

std::string ClearedProgressLine(size_t& shown)
{
    if (shown == 0)
        return std::string();
    std::string text = "\r" + std::string(shown, ' ') + "\r";
    shown = 0;
    return text;
}
