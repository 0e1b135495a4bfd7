// CommandLineSplit.cpp: the C run-time's argument splitting.
#include "framework/CommandLineSplit.h"

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string> SplitCommandLine(const char* commandLine)
{
    std::vector<std::string> args;
    if (!commandLine)
        return args;
    const char* p = commandLine;

    // Program name: up to the first blank outside quotes; quotes are dropped.
    std::string program;
    bool inQuotes = false;
    for (; *p; ++p) {
        if (*p == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (!inQuotes && IsBlank(*p))
            break;
        program += *p;
    }
    args.push_back(program);

    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        std::string arg;
        inQuotes = false;
        while (*p && (inQuotes || !IsBlank(*p))) {
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
