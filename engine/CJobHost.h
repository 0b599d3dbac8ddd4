#pragma once

#include "CMessageSink.h"

#include <string>

namespace tarvek {

// What the conversion job needs from the program that runs it.
class CJobHost : public CMessageSink {
public:
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The end-of-run step (saves settings such as the recent-file list); called after a
    // successful conversion outside batch mode. The program keeps running.
    virtual int ExitInstance() = 0;

    // Makes every view re-read the records.
    virtual void UpdateAllViews() = 0;

    virtual bool IsBatchMode() const = 0;

    virtual void AddRecord(const std::string& strSource, const std::string& strTarget,
                           const std::string& strResult) = 0;
};

} // namespace tarvek
