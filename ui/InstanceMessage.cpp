// InstanceMessage.cpp: the instance name and the instance message id.
#include "ui/InstanceMessage.h"

const char kInstanceName[] = "Norvane vantorix";
// Every copy gets the same id for the same name; the guard stores it again when it
// claims the mapping, whichever of the two is initialised first.
UINT g_nInstanceMessage = ::RegisterWindowMessageA(kInstanceName);
