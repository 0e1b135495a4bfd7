// Progress.h: IProgress, where an update check reports how far it has come: the
// progress window, a console's progress line, or nothing for a run without either.
#pragma once

#include <string>

class IProgress {
public:
    virtual ~IProgress() {}
    virtual void SetStatusText(const char* text) = 0;
    // Reports position (0 to 100); true when the user has cancelled.
    virtual bool SetProgress(int position) = 0;
    // The check begins to query the package name, number index (from 1) of the total
    // listed packages. The window shows it as its status text.
    virtual void BeginPackage(const char* name, int /*index*/, int /*total*/)
    {
        SetStatusText((std::string("Checking for update of ") + name).c_str());
    }
};

// A run that nobody watches: nothing is shown and nothing cancels.
class CNoProgress : public IProgress {
public:
    void SetStatusText(const char*) override {}
    bool SetProgress(int) override { return false; }
};
