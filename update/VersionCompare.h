// VersionCompare.h: comparison of dotted version strings. Plain logic without
// windows.h.
#pragma once

// True when candidate is newer than installed: fields separated by '.' are compared
// as numbers (atoi) from the left to the end of the longer string, a missing field
// counting as 0. An empty string on either side is never newer.
bool CompareVersions(const char* installed, const char* candidate);
