// ArgvPrinter.cpp: prints the command line it was given and the argv that the C
// run-time made of it, each in hex on a line of its own.
#include <windows.h>
#include <stdio.h>

static void PrintHex(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        printf("%02x", *p);
    printf("\n");
}

int main(int argc, char** argv)
{
    PrintHex(GetCommandLineA());
    for (int i = 0; i < argc; ++i)
        PrintHex(argv[i]);
    return 0;
}
