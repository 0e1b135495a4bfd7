// InstanceMessage.h: the instance name and the instance message, shared by the
// single-instance guard (app/) and the main dialog that answers the message (ui/).
#pragma once

#include <windows.h>

// "Norvane vantorix": names the instance message and the guard's shared block.
extern const char kInstanceName[];
// The instance message id of this logon session: RegisterWindowMessageA of the
// instance name, registered at start-up.
extern UINT g_nInstanceMessage;
