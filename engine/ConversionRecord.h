#pragma once

#include <string>
#include <vector>

namespace tarvek {

// One row of the results: what was converted, where to, and how it went.
struct ConversionRecord {
    std::string m_strSource;
    std::string m_strTarget;
    std::string m_strResult;
};

// The records of one run and the batch-mode flag beside them; owned by whatever object
// starts conversions (the application object, the command-line front end).
class CRecordList {
public:
    void AddRecord(const std::string& strSource, const std::string& strTarget, const std::string& strResult)
    {
        m_records.push_back({strSource, strTarget, strResult});
    }

    std::vector<ConversionRecord> m_records;
    bool m_bBatchMode = false;
};

} // namespace tarvek
