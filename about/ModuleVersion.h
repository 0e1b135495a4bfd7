// ModuleVersion.h: CModuleVersion, the reader of a module file's version resource.
//
// How to use: construct with a file path (null or empty: the program's own
// executable); the resource is read at once. m_parts then holds the pieces of the
// "FileVersion" text and GetFileVersionText the fixed file version.
#pragma once

#include <windows.h>
#include "about/VersionSplit.h"

class CModuleVersion {
public:
    explicit CModuleVersion(const char* path = nullptr);
    virtual ~CModuleVersion();
    CModuleVersion(const CModuleVersion&) = delete;
    CModuleVersion& operator=(const CModuleVersion&) = delete;

    // "major.minor.build.revision" of the fixed part, or "Unknown"; buffer holds at
    // least kFileVersionTextSize bytes. Returns buffer.
    virtual char* GetFileVersionText(char* buffer) const;

    // Reads the version resource of m_path; 1 when the fixed part was read.
    int ReadVersionInfo();
    // Releases the block and clears the fixed part; m_path and m_parts stay.
    void Reset();
    // A heap copy (new[]) of the program's own executable path, or null.
    static char* GetOwnModulePath();

    enum { kFileVersionTextSize = 24 };

    char* m_path;
    int m_valid;
    BYTE* m_versionData;
    VS_FIXEDFILEINFO m_fixedInfo;
    char m_parts[kVersionPartCount][kVersionPartSize];
};
