#pragma once

#include "engine/CJobHost.h"
#include "engine/ConversionRecord.h"

#include <string>
#include <utility>
#include <vector>

namespace tarvek::test {

// A job host that records everything the engine tells it.
class CRecordingHost : public CJobHost {
public:
    void ShowMessage(const std::string& strText, EMessageIcon eIcon) override
    {
        m_messages.push_back({strText, eIcon});
    }
    void ShowWarning(const std::string& strText) override { m_warnings.push_back(strText); }
    void BeginWaitCursor() override
    {
        ++m_nWaitDepth;
        ++m_nWaitCursors;
    }
    void EndWaitCursor() override { --m_nWaitDepth; }
    int ExitInstance() override { return ++m_nExitInstance, 0; }
    void UpdateAllViews() override { ++m_nUpdates; }
    bool IsBatchMode() const override { return m_records.m_bBatchMode; }
    void AddRecord(const std::string& strSource, const std::string& strTarget,
                   const std::string& strResult) override
    {
        m_records.AddRecord(strSource, strTarget, strResult);
    }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : m_messages)
            texts.push_back(message.first);
        return texts;
    }

    CRecordList m_records;
    std::vector<std::pair<std::string, EMessageIcon>> m_messages;
    std::vector<std::string> m_warnings;
    int m_nWaitDepth = 0;
    int m_nWaitCursors = 0;
    int m_nExitInstance = 0;
    int m_nUpdates = 0;
};

} // namespace tarvek::test
