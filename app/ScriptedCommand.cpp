// ScriptedCommand.cpp: the scripted flags of the command line.
#include "app/ScriptedCommand.h"

#include <string.h>

namespace {

void Fault(ScriptedCommand& c, const std::string& text)
{
    if (c.error.empty())
        c.error = text;
}

void MissingFile(ScriptedCommand& c)
{
    Fault(c, std::string("The flag /") + (c.pendingFile == ScriptedCommand::kList ? "list" : "report") +
                 " needs a file name after it.");
    c.pendingFile = 0;
}

// A flag that may be given once: marks it, or notes the second time.
void Once(ScriptedCommand& c, bool& given, const char* name)
{
    c.scripted = true;
    if (given)
        Fault(c, std::string("The flag /") + name + " is given twice.");
    given = true;
}

}  // namespace

bool TakeScriptedParam(ScriptedCommand& c, const char* param, bool isFlag)
{
    if (!param)
        return false;
    if (c.pendingFile) {
        if (!isFlag && param[0]) {
            (c.pendingFile == ScriptedCommand::kList ? c.listFile : c.reportFile) = param;
            c.pendingFile = 0;
            return true;
        }
        // A flag, or an empty argument (""), where the FILE should be.
        MissingFile(c);
        if (!isFlag)
            return true;
    }
    if (isFlag && (strcmp(param, "n") == 0 || strcmp(param, "v") == 0)) {
        if (c.scripted && !c.usage)
            Fault(c, "The flags /check, /list and /report cannot be combined with /n or /v.");
        c.collecting = true;
        return false;
    }
    if (c.collecting || !isFlag)
        return false;
    if (strcmp(param, "check") == 0) {
        Once(c, c.check, "check");
    } else if (strcmp(param, "list") == 0) {
        Once(c, c.list, "list");
        c.pendingFile = ScriptedCommand::kList;
    } else if (strcmp(param, "report") == 0) {
        Once(c, c.report, "report");
        c.pendingFile = ScriptedCommand::kReport;
    } else if (strcmp(param, "?") == 0) {
        c.scripted = true;
        c.usage = true;
    } else {
        return false;
    }
    return true;
}

void FinishScriptedCommand(ScriptedCommand& c)
{
    if (c.pendingFile)
        MissingFile(c);
}
