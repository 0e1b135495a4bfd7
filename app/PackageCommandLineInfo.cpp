// PackageCommandLineInfo.cpp: CPackageCommandLineInfo, the flags "n" and "v".
#include "app/PackageApp.h"
#include "app/CommandLineCollect.h"
#include "framework/AnsiCodePage.h"

CPackageCommandLineInfo::CPackageCommandLineInfo()
    : m_collectName(false), m_collectVersion(false), m_packageName(), m_packageVersion()
{
}

void CPackageCommandLineInfo::ParseParam(const char* param, BOOL isFlag, BOOL isLast)
{
    // The framework passes a flag's text after its '/' or '-'.
    const bool scripted = TakeScriptedParam(m_script, param, isFlag ? param[-1] : 0);
    if (isLast)
        FinishScriptedCommand(m_script);
    if (scripted)
        return;
    // The base class's flags and file arguments mean nothing here.
    CommandLineCollector c = {&m_collectName,   &m_collectVersion,       m_packageName,
                              sizeof(m_packageName), m_packageVersion, sizeof(m_packageVersion)};
    CollectCommandLineParam(c, param, isFlag != FALSE, AnsiLeadBytes());
}
