// BenchReport.cpp: times the status report of 10,000 packages with 5 components each
// against a floor that does the same registry reads and component calls and writes the
// same bytes with one WriteFile.
#include "framework/Handles.h"
#include "packages/PackageInfo.h"
#include "report/StatusReport.h"
#include "tests/support/TestRegistry.h"

#include <stdio.h>
#include <string>

namespace {

const int kPackages = 10000;
const int kComponents = 5;
const int kRounds = 3;

void SetText(HKEY key, const char* name, const char* text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), (DWORD)strlen(text) + 1);
}

HKEY Create(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

bool Seed()
{
    CRegKey packages(Create(HKEY_LOCAL_MACHINE, kTestPackagesPath));
    if (!packages.IsOpen())
        return false;
    char name[64];
    char text[64];
    for (int p = 0; p < kPackages; ++p) {
        snprintf(name, sizeof(name), "Bench Package %05d", p);
        CRegKey package(Create(packages, name));
        if (!package.IsOpen())
            return false;
        snprintf(text, sizeof(text), "%d.%d.%d", 1 + p % 7, p % 100, p);
        SetText(package, "Version", text);
        SetText(package, "InstallProject", "BenchSetup");
        for (int c = 0; c < kComponents; ++c) {
            snprintf(name, sizeof(name), "Components\\%02d", c);
            CRegKey component(Create(package, name));
            snprintf(text, sizeof(text), "Component %d of %d", c, p);
            SetText(component, "Name", text);
            snprintf(text, sizeof(text), "{%08X-0000-0000-0000-%012d}", p, c);
            SetText(component, "ClassId", text);
            snprintf(text, sizeof(text), "%d.%d", c, p % 10);
            SetText(component, "Version", text);
        }
    }
    return true;
}

// The report collected in memory.
class CMemoryOutput : public CReportOutput {
public:
    bool Write(const std::string& piece) override
    {
        text += piece;
        return true;
    }
    std::string text;
};

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

bool Floor(const char* path, std::string& bytes)
{
    CMemoryOutput out;
    WriteReportBody(out, nullptr);
    CWinHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.IsValid() || !WriteFile(file, out.text.data(), (DWORD)out.text.size(), &written, nullptr))
        return false;
    bytes.swap(out.text);
    return written == bytes.size();
}

std::string FileBytes(const char* path)
{
    std::string data;
    CWinHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return data;
    DWORD size = GetFileSize(file, nullptr);
    data.resize(size);
    DWORD got = 0;
    if (size && !ReadFile(file, &data[0], size, &got, nullptr))
        got = 0;
    data.resize(got);
    return data;
}

// The report without its date line, which moves with the clock.
std::string WithoutDate(const std::string& text)
{
    size_t end = text.find("\r\n\r\n");
    return end == std::string::npos ? text : text.substr(end + 4);
}

}  // namespace

int main()
{
    {
        CPackageInfoClient probe;
        if (!probe.IsCreated()) {
            fprintf(stderr, "bench_report: the package information component is not registered\n");
            return 1;
        }
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestPackagesPath);
    double seedStart = Now();
    if (!Seed()) {
        fprintf(stderr, "bench_report: seeding the registry failed\n");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestPackagesPath);
        return 1;
    }
    printf("seeded %d packages with %d components each in %.0f ms\n", kPackages, kComponents, Now() - seedStart);

    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string reportPath = std::string(temp) + "vx_bench_report.txt";
    std::string floorPath = std::string(temp) + "vx_bench_floor.txt";

    double best = 1e30;
    double bestFloor = 1e30;
    std::string floorBytes;
    bool ok = true;
    for (int round = 0; round < kRounds && ok; ++round) {
        double t0 = Now();
        ok = Floor(floorPath.c_str(), floorBytes);
        double t1 = Now();
        ok = ok && WriteStatusReport(reportPath.c_str(), nullptr);
        double t2 = Now();
        if (t1 - t0 < bestFloor)
            bestFloor = t1 - t0;
        if (t2 - t1 < best)
            best = t2 - t1;
    }
    std::string reportBytes = FileBytes(reportPath.c_str());
    if (!ok || WithoutDate(reportBytes) != WithoutDate(floorBytes)) {
        fprintf(stderr, "bench_report: the report and the floor differ (%zu and %zu bytes)\n", reportBytes.size(),
                floorBytes.size());
        ok = false;
    }
    printf("report of %zu bytes\n", reportBytes.size());
    printf("BENCH|status report, %d packages x %d components (ms)|%.0f|%.0f|%.2f|2.0\n", kPackages, kComponents, best,
           bestFloor, bestFloor > 0 ? best / bestFloor : 0.0);

    DeleteFileA(reportPath.c_str());
    DeleteFileA(floorPath.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestPackagesPath);
    return ok ? 0 : 1;
}
