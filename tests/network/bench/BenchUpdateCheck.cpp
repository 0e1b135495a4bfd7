// BenchUpdateCheck.cpp: the time per package of an update check of 200 packages
// against the local update server, beside the floor of 200 bare WinINet POSTs of the
// same body through the same proxy. A third figure bounds what the check can reach
// here: the floor plus proxy discovery alone, which runs afresh for every package. The
// last ones are the scripted check ("vantorix /check") as a whole process, beside a
// minimal program that POSTs the same requests, through vantorix.exe and through the
// console program vantorix.com, which must not cost more.
// On loopback these figures have no target: Wine repaints the progress bar
// synchronously at each report. The target applies where the server answers after
// 50 ms, a realistic round trip over the internet.
//
// Run (tools/bench does all of it): start the server, prepare the prefix with the same
// port (its Firefox profile names the server as proxy), then
//   python3 tools/update_server.py --port 18799 &
//   tools/prepare-prefix "$WINEPREFIX" build/x86/bin 18799 /usr/lib/wine/wine
//   VANTORIX_UPDATE_PORT=18799 /usr/lib/wine/wine build/x86/bin/bench_update_check.exe
#include "tests/network/NetworkFixtures.h"
#include "tests/network/bench/BarePost.h"
#include "tests/support/Bench.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include "update/InternetHandle.h"
#include "update/ProxyDiscovery.h"
#include "update/UpdateQuery.h"
#include "update/UpdateRequest.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kPackages = 200;
// Packages of the check against the server that answers after 50 ms.
const int kDistantPackages = 40;
// Packages of the scripted check, a process of its own.
const int kScriptedPackages = 12;
const int kRuns = 3;
const char kTarget[] = "1.3";

std::string PackageName(int i)
{
    char name[64];
    snprintf(name, sizeof(name), "Bench Package %03d", i);
    return name;
}

// Checks the first count packages as the product list does; the time per package in ms.
double CheckAll(CProgressDlg& progress, int& found, int count = kPackages)
{
    found = 0;
    double start = BenchNowMs();
    for (int i = 0; i < count; ++i) {
        bool keep = true;
        char latest[32] = {};
        progress.SetProgress(0);
        found += QueryLatestVersion(PackageName(i).c_str(), "1.0", latest, keep, progress) ? 1 : 0;
    }
    return (BenchNowMs() - start) / count;
}

// 200 proxy discoveries with a windowless progress object; the time per package in ms.
double DiscoverAll(CProgressDlg& progress, int& named)
{
    named = 0;
    double start = BenchNowMs();
    for (int i = 0; i < kPackages; ++i) {
        ProxyChoice choice;
        named += DiscoverProxy(progress, choice) && choice.proxyText.size() > 7 ? 1 : 0;
    }
    return (BenchNowMs() - start) / kPackages;
}

// One process from start to exit; its time in ms, or -1 when it failed.
double ProcessMs(const std::string& commandLine)
{
    double start = BenchNowMs();
    return RunProcess(commandLine, 120000) < 0 ? -1 : BenchNowMs() - start;
}

// Bare POSTs for the first count packages; the time per package in ms.
double PostAll(const std::string& proxy, int& answered, int count = kPackages)
{
    answered = 0;
    double start = BenchNowMs();
    for (int i = 0; i < count; ++i)
        answered += BarePost(proxy, kUpdateServerHost, PackageName(i).c_str()) ? 1 : 0;
    return (BenchNowMs() - start) / count;
}

}  // namespace

int main()
{
    std::vector<std::string> entries;
    for (int i = 0; i < kPackages; ++i)
        entries.push_back(UpdateServer::Entry(PackageName(i), "2.0", "http://www.norvane.com/bench"));
    std::string catalogue = "{";
    for (size_t i = 0; i < entries.size(); ++i)
        catalogue += (i ? ", " : "") + entries[i];
    catalogue += "}";
    if (UpdateServer::Control("POST", "reset") != 200 ||
        UpdateServer::Control("POST", "catalogue", catalogue) != 200) {
        fprintf(stderr, "bench_update_check: no update server on %s\n", UpdateServer::Address().c_str());
        return 1;
    }

    ScopedPackages packages;
    for (int i = 0; i < kPackages; ++i)
        packages.Add(PackageName(i).c_str(), "1.0");

    ProgressProbe probe;
    std::string proxy = "http://" + UpdateServer::Address();
    // Warm-up: the first connections and DLL loads are not measured.
    for (int i = 0; i < 5; ++i) {
        bool keep = true;
        char latest[32] = {};
        QueryLatestVersion(PackageName(i).c_str(), "1.0", latest, keep, probe.Dialog());
        BarePost(proxy, kUpdateServerHost, PackageName(i).c_str());
    }

    int found = 0, foundWindowless = 0, answered = 0, named = 0;
    double check = BenchBest(kRuns, [&] { return CheckAll(probe.Dialog(), found); });
    // The same check with a progress object that has no window: the query's own cost
    // without the bar's repaints.
    CProgressDlg windowless;
    double checkWindowless = BenchBest(kRuns, [&] { return CheckAll(windowless, foundWindowless); });
    double discovery = BenchBest(kRuns, [&] { return DiscoverAll(windowless, named); });
    double floor = BenchBest(kRuns, [&] { return PostAll(proxy, answered); });

    // The same server, answering every request after 50 ms.
    int foundDistant = 0, answeredDistant = 0;
    UpdateServer::SetBehaviour("{\"mode\": \"normal\", \"latency\": 0.05}");
    double checkDistant = BenchBest(kRuns, [&] { return CheckAll(probe.Dialog(), foundDistant, kDistantPackages); });
    double floorDistant = BenchBest(kRuns, [&] { return PostAll(proxy, answeredDistant, kDistantPackages); });

    // The scripted check as a whole process, the first 12 packages listed, beside a
    // minimal program that POSTs the same requests. Exit code 2: updates found.
    ScopedPackages scriptedPackages;
    for (int i = 0; i < kScriptedPackages; ++i)
        scriptedPackages.Add(PackageName(i).c_str(), "1.0");
    std::string names;
    for (int i = 0; i < kScriptedPackages; ++i)
        names += " \"" + PackageName(i) + "\"";
    int scriptedCode = RunProcess("\"" + BinDir() + "vantorix.exe\" /check", 120000);
    double scripted = BenchBest(kRuns, [&] { return ProcessMs("\"" + BinDir() + "vantorix.exe\" /check"); });
    int consoleCode = RunProcess("\"" + BinDir() + "vantorix.com\" /check", 120000);
    double console = BenchBest(kRuns, [&] { return ProcessMs("\"" + BinDir() + "vantorix.com\" /check"); });
    double scriptedFloor = BenchBest(kRuns, [&] {
        return ProcessMs("\"" + BinDir() + "bare_posts.exe\" " + proxy + " " + kUpdateServerHost + names);
    });

    printf("update check: %d and %d of %d packages found newer; %d of %d bare POSTs answered; "
           "%d of %d discoveries named the server\n",
           found, foundWindowless, kPackages, answered, kPackages, named, kPackages);
    printf("server answering after 50 ms: %d of %d found newer, %d of %d bare POSTs answered\n", foundDistant,
           kDistantPackages, answeredDistant, kDistantPackages);
    printf("proxy discovery alone: %.2f ms per package\n", discovery);
    BenchPrint("update check per package (200 packages, loopback)", check, floor, "");
    BenchPrint("update check per package, no progress window", checkWindowless, floor, "");
    BenchPrint("bare POST plus proxy discovery alone (bound)", floor + discovery, floor, "");
    BenchPrint("update check per package, server answering after 50 ms", checkDistant, floorDistant, kTarget);
    printf("scripted check: exit code %d (vantorix.exe), %d (vantorix.com)\n", scriptedCode, consoleCode);
    BenchPrint("vantorix /check, whole process, 12 packages, server after 50 ms", scripted, scriptedFloor, "1.2");
    BenchPrint("vantorix.com /check, whole process, 12 packages, server after 50 ms", console, scriptedFloor, "1.2");
    BenchPrint("vantorix.com /check beside vantorix.exe /check", console, scripted, "1.05");
    UpdateServer::Control("POST", "reset");
    return found == kPackages && foundWindowless == kPackages && answered == kPackages && named == kPackages &&
                   foundDistant == kDistantPackages && answeredDistant == kDistantPackages && scriptedCode == 2 &&
                   consoleCode == 2 && scripted > 0 && console > 0 && scriptedFloor > 0
               ? 0
               : 1;
}
