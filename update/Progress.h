// Progress.h: IProgress, where an update check reports how far it has come: the
// progress window, or nothing for a run without a window.
#pragma once

class IProgress {
public:
    virtual ~IProgress() {}
    virtual void SetStatusText(const char* text) = 0;
    // Reports position (0 to 100); true when the user has cancelled.
    virtual bool SetProgress(int position) = 0;
};

// A run that nobody watches: nothing is shown and nothing cancels.
class CNoProgress : public IProgress {
public:
    void SetStatusText(const char*) override {}
    bool SetProgress(int) override { return false; }
};
