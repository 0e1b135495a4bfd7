// FileError.cpp: file error message box.
#include "framework/FileError.h"

std::string SystemErrorText(DWORD error)
{
    char* text = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result;
    if (n && text) {
        result.assign(text, n);
        while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
            result.pop_back();
    }
    if (text)
        ::LocalFree(text);
    if (result.empty()) {
        char buf[32];
        wsprintfA(buf, "Error %lu.", (unsigned long)error);
        result = buf;
    }
    return result;
}

void ReportFileError(HWND owner, const char* path, DWORD error)
{
    std::string text = "An error occurred while accessing ";
    text += path ? path : "";
    text += ".\n";
    text += SystemErrorText(error);
    ::MessageBoxA(owner, text.c_str(), "Vantorix", MB_OK | MB_ICONSTOP);
}
