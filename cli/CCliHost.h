#pragma once

#include "engine/CJobHost.h"
#include "engine/ConversionRecord.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvek {

// Runs conversions for the command line: always in batch mode, messages collected per
// file and, unless JSON is asked for, printed to stderr as they come.
class CCliHost : public CJobHost {
public:
    CCliHost(bool bEcho, std::FILE* pErr) : m_bEcho(bEcho), m_pErr(pErr) { m_records.m_bBatchMode = true; }

    // Starts a new file: its messages and warnings begin empty.
    void BeginFile(const std::string& strSource);

    void ShowMessage(const std::string& strText, EMessageIcon eIcon) override;
    void ShowWarning(const std::string& strText) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    int ExitInstance() override { return 0; }
    void UpdateAllViews() override {}
    bool IsBatchMode() const override { return m_records.m_bBatchMode; }
    void AddRecord(const std::string& strSource, const std::string& strTarget,
                   const std::string& strResult) override
    {
        m_records.AddRecord(strSource, strTarget, strResult);
    }

    CRecordList m_records;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_warnings;

private:
    bool m_bEcho;
    std::FILE* m_pErr;
    std::string m_strSource;
};

} // namespace tarvek
