// GuardRole.h: which copy of the program this is, from the outcome of creating the
// single-instance guard's named mapping. Plain logic without windows.h.
#pragma once

// The codes that CreateFileMappingA leaves for GetLastError and that decide.
enum : unsigned long {
    kGuardAccessDenied = 5,    // ERROR_ACCESS_DENIED
    kGuardAlreadyExists = 183  // ERROR_ALREADY_EXISTS
};

// True when this copy runs as the first one. hasHandle: CreateFileMappingA gave a
// handle; error: GetLastError() right after that call.
//   a handle and no error: created, the first copy;
//   a handle and an error (ERROR_ALREADY_EXISTS): another copy holds it, a later copy;
//   no handle, ERROR_ACCESS_DENIED: the mapping exists but belongs to a copy with more
//     rights (an elevated one), so this is a later copy too;
//   no handle, any other error: no guard at all; the copy runs as the first one.
bool IsFirstCopy(bool hasHandle, unsigned long error);
