// ArgvPrinter.cpp: writes the command line it was given and the argv that the C run-time
// made of it, in hex, one a line, to the file that VANTORIX_ARGV_FILE names.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    FILE* out = fopen(getenv("VANTORIX_ARGV_FILE"), "w");
    for (int i = -1; out && i < argc; ++i) {
        for (const char* p = i < 0 ? GetCommandLineA() : argv[i]; *p; ++p)
            fprintf(out, "%02x", static_cast<unsigned char>(*p));
        fputc('\n', out);
    }
    return out ? fclose(out) : 1;
}
