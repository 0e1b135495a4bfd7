// UpdateRequest.h: the XML-RPC body of one update query. Plain logic without
// windows.h.
#pragma once

#include <cstddef>

// Size of the body buffer: at most 999 characters and the NUL.
const size_t kUpdateRequestSize = 1000;
// Characters of the body besides the package name and the installed version.
const size_t kUpdateRequestFixedLength = 283;

// Fills body (zero-filled first) with the vers.getLatestVersion call for packageName at
// installedVersion, both inserted as they are. False, with body empty, when the two
// together do not fit the buffer.
bool FormatUpdateRequest(const char* packageName, const char* installedVersion, char (&body)[kUpdateRequestSize]);
