// ScriptedCommand.cpp: the scripted flags of the command line.
#include "app/ScriptedCommand.h"
#include "framework/AsciiCase.h"

#include <string.h>

namespace {

// What /proxy takes, as every line about it names it.
const char kProxyForms[] = "HOST:PORT, http://HOST:PORT, [IPv6]:PORT, http=HOST:PORT;https=HOST:PORT or direct";

void Fault(ScriptedCommand& c, const std::string& text)
{
    if (c.error.empty())
        c.error = text;
}

const char* PendingName(int pending)
{
    return pending == ScriptedCommand::kList ? "list" : pending == ScriptedCommand::kReport ? "report" : "proxy";
}

void MissingValue(ScriptedCommand& c)
{
    Fault(c, std::string("The flag /") + PendingName(c.pendingValue) + " needs " +
                 (c.pendingValue == ScriptedCommand::kProxy ? kProxyForms : "a file name") + " after it.");
    c.pendingValue = 0;
}

// param is name, its letters in any case.
bool SameFlag(const char* param, const char* name)
{
    for (; *name; ++param, ++name) {
        if (AsciiLower(*param) != *name)
            return false;
    }
    return *param == '\0';
}

// /?, -?, /h, -h, /help, -help and --help, in any case.
bool IsUsageFlag(const char* word, bool doubleDash)
{
    return SameFlag(word, "help") || (!doubleDash && (SameFlag(word, "h") || strcmp(word, "?") == 0));
}

// The line is scripted from now on: an argument met before that becomes its fault.
void MarkScripted(ScriptedCommand& c)
{
    if (!c.scripted && !c.stray.empty())
        Fault(c, c.stray);
    c.scripted = true;
}

// A flag that may be given once: marks it, or notes the second time.
void Once(ScriptedCommand& c, bool& given, const char* name)
{
    MarkScripted(c);
    if (given)
        Fault(c, std::string("The flag /") + name + " is given twice.");
    given = true;
}

void TakeValue(ScriptedCommand& c, const char* value)
{
    switch (c.pendingValue) {
    case ScriptedCommand::kList:
        c.listFile = value;
        break;
    case ScriptedCommand::kReport:
        c.reportFile = value;
        break;
    default:
        if (SameFlag(value, "direct")) {
            c.proxy.kind = ProxyRule::kDirect;
        } else if (ReadProxyAddress(value, c.proxy.address)) {
            c.proxy.kind = ProxyRule::kNamed;
        } else {
            Fault(c, std::string("The proxy \"") + value + "\" is not " + kProxyForms + ".");
        }
        break;
    }
    c.pendingValue = 0;
}

}  // namespace

bool TakeScriptedParam(ScriptedCommand& c, const char* param, char flagMark)
{
    if (!param)
        return false;
    const bool isFlag = flagMark != 0;
    if (c.pendingValue) {
        if (!isFlag && param[0]) {
            TakeValue(c, param);
            return true;
        }
        // A flag, or an empty argument (""), where the value should be.
        MissingValue(c);
        if (!isFlag)
            return true;
    }
    if (isFlag && (strcmp(param, "n") == 0 || strcmp(param, "v") == 0)) {
        if (c.scripted && !c.usage)
            Fault(c, "The flags /check, /list and /report cannot be combined with /n or /v.");
        c.collecting = true;
        return false;
    }
    if (c.collecting)
        return false;
    // "--check" arrives as "-check": the framework takes one '-' away.
    const bool doubleDash = flagMark == '-' && param[0] == '-';
    const char* word = doubleDash ? param + 1 : param;
    if (isFlag && SameFlag(word, "check")) {
        Once(c, c.check, "check");
    } else if (isFlag && SameFlag(word, "list")) {
        Once(c, c.list, "list");
        c.pendingValue = ScriptedCommand::kList;
    } else if (isFlag && SameFlag(word, "report")) {
        Once(c, c.report, "report");
        c.pendingValue = ScriptedCommand::kReport;
    } else if (isFlag && SameFlag(word, "proxy")) {
        Once(c, c.proxyGiven, "proxy");
        c.pendingValue = ScriptedCommand::kProxy;
    } else if (isFlag && IsUsageFlag(word, doubleDash)) {
        MarkScripted(c);
        c.usage = true;
    } else {
        // Meaningless on a line without scripted flags; a typo or a path cut at a blank
        // on one with them.
        const std::string text =
            isFlag ? "Unknown flag \"" + std::string(1, flagMark) + param + "\"."
                   : "Unexpected argument \"" + std::string(param) +
                         "\"; a file name with blanks goes between double quotes.";
        if (c.scripted)
            Fault(c, text);
        else if (c.stray.empty())
            c.stray = text;
        return c.scripted;
    }
    return true;
}

void FinishScriptedCommand(ScriptedCommand& c)
{
    if (c.pendingValue)
        MissingValue(c);
    if (c.proxyGiven && !c.check)
        Fault(c, std::string("The flag /proxy works only with /check; it takes ") + kProxyForms + ".");
}

void RequireMeaningfulLine(ScriptedCommand& c)
{
    if (c.scripted || c.stray.empty())
        return;
    MarkScripted(c);
    c.usageHint = true;
}
