// LockedMapping.h: a named mapping of the guard's size that no one else may open, as
// the mapping of a copy running elevated is for a copy of a standard user.
#pragma once

#include "app/PackageApp.h"

// Null when it cannot be created; the caller closes it.
inline HANDLE CreateLockedMapping(const char* name)
{
    // An empty DACL grants nothing; only the creator's handle has access.
    SECURITY_DESCRIPTOR sd;
    ACL acl;
    if (!InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
        !InitializeAcl(&acl, sizeof(acl), ACL_REVISION) || !SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE))
        return nullptr;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), &sd, FALSE};
    return CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0, sizeof(InstanceBlock), name);
}
