// Fuzz_command_line.cpp: command-line splitting, the flags for scripts and the collection
// of "n" and "v", in a single-byte code page and in 932; the console's progress line with
// the input as a package name.
#include "app/CommandLineCollect.h"
#include "app/ProgressLine.h"
#include "app/ScriptedCommand.h"
#include "framework/CommandLineSplit.h"
#include "tests/fuzz/FuzzCodePage.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const LeadBytes lead = FuzzLeadBytes(data, size);
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(strlen(text.c_str()));
    std::vector<std::string> args = SplitCommandLine(text.c_str(), lead);
    if (args.empty())
        abort();
    const bool inputEndsInside = EndsInsideChar(text, lead);
    bool collectName = false, collectVersion = false;
    char name[512] = {}, version[512] = {};
    CommandLineCollector c = {&collectName, &collectVersion, name, sizeof(name), version, sizeof(version)};
    ScriptedCommand script;
    for (size_t i = 1; i < args.size(); ++i) {
        if (EndsInsideChar(args[i], lead) && !inputEndsInside)
            abort();
        const char* param = args[i].c_str();
        bool isFlag = param[0] == '/' || param[0] == '-';
        if (!TakeScriptedParam(script, isFlag ? param + 1 : param, isFlag ? param[0] : 0))
            CollectCommandLineParam(c, isFlag ? param + 1 : param, isFlag, lead);
        if (collectName && collectVersion)
            abort();
        if (strnlen(name, sizeof(name)) >= sizeof(name) || strnlen(version, sizeof(version)) >= sizeof(version))
            abort();
        if (!inputEndsInside && (EndsInsideChar(name, lead) || EndsInsideChar(version, lead)))
            abort();
    }
    FinishScriptedCommand(script);
    // Scripted work is only ever asked for with its files.
    if (script.error.empty() && ((script.list && script.listFile.empty() && !script.usage) || script.pendingValue))
        abort();
    // A scripted line is strict: it passes only without any other argument.
    if (script.scripted && script.error.empty() && !script.stray.empty())
        abort();
    // A named proxy is HOST:PORT, which reads as itself.
    std::string again;
    if (script.proxy.kind == ProxyRule::kNamed &&
        (!ReadProxyAddress(script.proxy.address, again) || again != script.proxy.address))
        abort();

    // Within the console's width, no character cut, nothing but the first CR that moves
    // the cursor.
    const size_t width = size % 90;
    size_t shown = size % 7;
    const std::string line = ProgressLineText(text.c_str(), 3, 12, width, shown, lead);
    if (line[0] != '\r' || shown + 1 > (width ? width : 1) || line.size() < shown + 1)
        abort();
    for (size_t i = 1; i < line.size(); ++i) {
        if (static_cast<unsigned char>(line[i]) < 0x20)
            abort();
    }
    if (!inputEndsInside && EndsInsideChar(line.substr(1, shown), lead))
        abort();
    return 0;
}
