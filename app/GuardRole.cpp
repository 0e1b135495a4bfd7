// GuardRole.cpp: the first or a later copy, from the guard mapping's outcome.
#include "app/GuardRole.h"

bool IsFirstCopy(bool hasHandle, unsigned long error)
{
    if (hasHandle)
        return error == 0;
    return error != kGuardAccessDenied;
}
