// Clipboard.h: text onto the clipboard.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's content with text, ANSI in the system's code page, as CF_TEXT,
// and the system's locale as CF_LOCALE, by which Windows converts it for the programs
// that read Unicode text. False when the clipboard could not be taken or filled.
bool SetClipboardAnsiText(HWND owner, const std::string& text);
