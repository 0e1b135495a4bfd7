// AsciiCase.h: letter case of ASCII letters alone, for flags, schemes and host names; a
// byte of a double-byte character is never one of them. Plain logic without windows.h.
#pragma once

inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}
