// BenchUpdateStore.cpp: figures of UpdateStore: a pass of reads over many packages beside
// the registry calls of one read, and how the cost of one call grows with the number
// of packages. Prints BENCH|<label>|<value>|<floor>|<ratio>|<target> lines.
#include "tests/support/Bench.h"
#include "update/UpdateStore.h"

#include <windows.h>
#include <stdio.h>
#include <initializer_list>

namespace {

const char kPackages[] = "SOFTWARE\\Norvane\\Packages";


void PackageName(int i, char* name, size_t size)
{
    snprintf(name, size, "Package%06d", i);
}

// count packages, each with a stored version newer than 1.0, so reads change nothing.
bool SeedPackages(int count)
{
    BenchRemovePackages();
    HKEY root;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPackages, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr) !=
        ERROR_SUCCESS)
        return false;
    for (int i = 0; i < count; ++i) {
        char name[32];
        PackageName(i, name, sizeof(name));
        HKEY key;
        if (RegCreateKeyExA(root, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExA(key, "Version", 0, REG_SZ, (const BYTE*)"1.0", 4);
        RegSetValueExA(key, "UpdateVersion", 0, REG_SZ, (const BYTE*)"1.2", 4);
        RegCloseKey(key);
    }
    RegCloseKey(root);
    return true;
}

// The registry calls that one read cannot avoid: open both keys, read the value.
double FloorPass(int count)
{
    double start = BenchNowMs();
    for (int i = 0; i < count; ++i) {
        char name[32];
        PackageName(i, name, sizeof(name));
        HKEY root;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kPackages, &root) != ERROR_SUCCESS)
            continue;
        HKEY key;
        if (RegOpenKeyA(root, name, &key) == ERROR_SUCCESS) {
            char text[21] = {};
            DWORD size = 20;
            RegQueryValueExA(key, "UpdateVersion", nullptr, nullptr, (BYTE*)text, &size);
            RegCloseKey(key);
        }
        RegCloseKey(root);
    }
    return BenchNowMs() - start;
}

// Mode 0 for every package, as an offline pass of the product list does.
double ReadPass(int count, int* found)
{
    *found = 0;
    double start = BenchNowMs();
    for (int i = 0; i < count; ++i) {
        char name[32];
        PackageName(i, name, sizeof(name));
        char version[32] = {};
        if (UpdateStore(name, "1.0", version, kUpdateRead, nullptr))
            ++*found;
    }
    return BenchNowMs() - start;
}

}  // namespace

int main()
{
    double perCall1k = 0;
    for (int count : {1000, 10000}) {
        if (!SeedPackages(count)) {
            fprintf(stderr, "bench_update_store: the Packages key cannot be created\n");
            return 1;
        }
        int runs = count > 5000 ? 2 : 4;
        int found = 0;
        double floor = BenchBest(runs, [&] { return FloorPass(count); });
        double pass = BenchBest(runs, [&] { return ReadPass(count, &found); });
        if (found != count)
            fprintf(stderr, "expected %d stored versions, read %d\n", count, found);
        char label[64];
        snprintf(label, sizeof(label), "UpdateStore read pass, %d packages (ms)", count);
        BenchPrint(label, pass, floor, "<= 2x floor");
        double perCall = pass * 1000.0 / count;
        if (count == 1000) {
            perCall1k = perCall;
        } else if (perCall1k > 0) {
            BenchPrint("UpdateStore read, one call at 10000 over 1000 packages (us)", perCall, perCall1k, "<= 1.5x");
        }
    }
    BenchRemovePackages();
    return 0;
}
