// InstanceGlobals.cpp: the instance name and message that the application object
// provides in the program; the main dialog answers the message.
#include "app/PackageApp.h"

const char kInstanceName[] = "Norvane vantorix";
UINT g_nInstanceMessage = RegisterWindowMessageA(kInstanceName);
