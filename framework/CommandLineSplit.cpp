// CommandLineSplit.cpp: the C run-time's argument splitting.
#include "framework/CommandLineSplit.h"

template <class Char>
static bool IsBlank(Char c)
{
    return c == ' ' || c == '\t';
}

// Copies a double-byte character at p to out and steps past it; false for any other.
static bool TakeDoubleByte(const char*& p, std::string& out, const LeadBytes& lead)
{
    if (!lead.IsLead(static_cast<unsigned char>(*p)) || !p[1])
        return false;
    out.append(p, 2);
    p += 2;
    return true;
}

// The program name at p: up to the first blank outside quotes; quotes are dropped.
// Returns where it ends.
static const char* TakeProgramName(const char* p, std::string& program, const LeadBytes& lead)
{
    bool inQuotes = false;
    while (*p) {
        if (TakeDoubleByte(p, program, lead))
            continue;
        if (*p == '"') {
            inQuotes = !inQuotes;
            ++p;
            continue;
        }
        if (!inQuotes && IsBlank(*p))
            break;
        program += *p++;
    }
    return p;
}

const char* SkipProgramName(const char* commandLine, const LeadBytes& lead)
{
    if (!commandLine)
        return "";
    std::string program;
    const char* p = TakeProgramName(commandLine, program, lead);
    while (IsBlank(*p))
        ++p;
    return p;
}

const wchar_t* SkipProgramName(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    const wchar_t* p = commandLine;
    for (bool inQuotes = false; *p && (inQuotes || !IsBlank(*p)); ++p) {
        if (*p == L'"')
            inQuotes = !inQuotes;
    }
    while (IsBlank(*p))
        ++p;
    return p;
}

std::vector<std::string> SplitCommandLine(const char* commandLine, const LeadBytes& lead)
{
    std::vector<std::string> args;
    if (!commandLine)
        return args;
    std::string program;
    const char* p = TakeProgramName(commandLine, program, lead);
    args.push_back(program);

    bool inQuotes = false;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        std::string arg;
        inQuotes = false;
        while (*p && (inQuotes || !IsBlank(*p))) {
            if (TakeDoubleByte(p, arg, lead))
                continue;
            if (*p == '\\') {
                size_t slashes = 0;
                while (*p == '\\') {
                    ++slashes;
                    ++p;
                }
                if (*p == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        arg += '"';
                        ++p;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
                continue;
            }
            if (*p == '"') {
                if (inQuotes && p[1] == '"') {
                    arg += '"';
                    p += 2;
                    continue;
                }
                inQuotes = !inQuotes;
                ++p;
                continue;
            }
            arg += *p++;
        }
        args.push_back(arg);
    }
    return args;
}
