// PlantedLoader.cpp: loads DLLs the way the first argument names: "bare" by their bare
// names, as a program without protection against planted DLLs does, "system" through
// the program's LoadSystemLibrary, "path" through its LoadSystemLibraryByPath. Prints
// the system folder, then one line per DLL with the file it was loaded from ("-" for
// none); the exit code is the number loaded.
#include "framework/SystemLibrary.h"

#include <stdio.h>
#include <string.h>

namespace {

HMODULE LoadBare(const char* name)
{
    return LoadLibraryA(name);
}

}  // namespace

int main(int argc, char** argv)
{
    HMODULE (*load)(const char*) = nullptr;
    if (argc >= 2 && strcmp(argv[1], "bare") == 0)
        load = LoadBare;
    else if (argc >= 2 && strcmp(argv[1], "system") == 0)
        load = LoadSystemLibrary;
    else if (argc >= 2 && strcmp(argv[1], "path") == 0)
        load = LoadSystemLibraryByPath;
    else
        return -1;
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof(folder));
    printf("system\t%s\n", folder);
    int loaded = 0;
    for (int i = 2; i < argc; ++i) {
        HMODULE module = load(argv[i]);
        char path[MAX_PATH] = "-";
        if (module) {
            GetModuleFileNameA(module, path, sizeof(path));
            ++loaded;
        }
        printf("%s\t%s\n", argv[i], path);
    }
    return loaded;
}
