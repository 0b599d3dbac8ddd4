#include "cli/CCliHost.h"

namespace tarvek {

void CCliHost::BeginFile(const std::string& strSource)
{
    m_strSource = strSource;
    m_messages.clear();
    m_warnings.clear();
}

void CCliHost::ShowMessage(const std::string& strText, EMessageIcon)
{
    m_messages.push_back(strText);
    if (m_bEcho)
        std::fprintf(m_pErr, "%s: %s\n", m_strSource.c_str(), strText.c_str());
}

void CCliHost::ShowWarning(const std::string& strText)
{
    m_warnings.push_back(strText);
    if (m_bEcho)
        std::fprintf(m_pErr, "%s: warning: %s\n", m_strSource.c_str(), strText.c_str());
}

} // namespace tarvek
