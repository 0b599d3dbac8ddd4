#pragma once

#include "engine/CCod.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <memory>

namespace tarvek::test {

// A recording written to a scratch folder and read by a converter, for tests of what
// the reading stages make of it.
class COpenedRecording {
public:
    explicit COpenedRecording(const CWdqBuilder& builder) : COpenedRecording(builder.Build()) {}
    explicit COpenedRecording(const std::vector<std::uint8_t>& bytes) : m_cod(m_host)
    {
        m_cod.m_strSourcePath = m_dir.Write("source.wdq", bytes);
        m_bOpened = m_cod.Open();
    }

    const CParam& Param(const char* pszGroup, const char* pszName) const
    {
        return *m_cod.m_params.at(static_cast<std::size_t>(m_cod.FindParam(pszGroup, pszName)));
    }

    CRecordingHost m_host;
    CScratchDir m_dir;
    CCod m_cod;
    bool m_bOpened = false;
};

} // namespace tarvek::test
