#include "engine/CMemFileSystem.h"

#include <algorithm>
#include <cstring>

namespace tarvek {

namespace {

class CMemFile : public CFile {
public:
    CMemFile(std::shared_ptr<CMemFileSystem::Bytes> pBytes, CFileException::EKind eKind)
        : m_pBytes(std::move(pBytes)), m_eKind(eKind)
    {
    }

    void Seek(std::uint64_t nPosition) override
    {
        CheckOpen();
        m_nPosition = nPosition;
    }

    std::size_t Read(void *pBuffer, std::size_t nBytes) override
    {
        CheckOpen();
        const std::uint64_t nSize = m_pBytes->size();
        if (m_nPosition >= nSize)
            return 0;
        const std::size_t nGot =
            static_cast<std::size_t>(std::min<std::uint64_t>(nBytes, nSize - m_nPosition));
        std::memcpy(pBuffer, m_pBytes->data() + m_nPosition, nGot);
        m_nPosition += nGot;
        return nGot;
    }

    void Write(const void *pBuffer, std::size_t nBytes) override
    {
        CheckOpen();
        if (m_eKind != CFileException::EKind::Write)
            throw CFileException(m_eKind, "Bad file descriptor");
        const std::uint64_t nEnd = m_nPosition + nBytes;
        if (nEnd > m_pBytes->size())
            m_pBytes->resize(static_cast<std::size_t>(nEnd));
        if (nBytes > 0)
            std::memcpy(m_pBytes->data() + m_nPosition, pBuffer, nBytes);
        m_nPosition = nEnd;
    }

    std::uint64_t GetPosition() const override { return m_nPosition; }

    std::uint64_t GetLength() override
    {
        CheckOpen();
        return m_pBytes->size();
    }

    void Close() override { m_bClosed = true; }

private:
    void CheckOpen() const
    {
        if (m_bClosed)
            throw CFileException(m_eKind, "Bad file descriptor");
    }

    std::shared_ptr<CMemFileSystem::Bytes> m_pBytes;
    CFileException::EKind m_eKind;
    std::uint64_t m_nPosition = 0;
    bool m_bClosed = false;
};

} // namespace

std::shared_ptr<CMemFileSystem::Bytes> CMemFileSystem::AddFile(const std::string &strPath, Bytes bytes)
{
    SEntry &entry = m_entries[strPath];
    entry = SEntry{EKind::Regular, false, std::make_shared<Bytes>(std::move(bytes))};
    return entry.m_pBytes;
}

void CMemFileSystem::AddSpecial(const std::string &strPath, EKind eKind)
{
    m_entries[strPath] = SEntry{eKind, false, nullptr};
}

void CMemFileSystem::SetReadOnly(const std::string &strPath, bool bReadOnly)
{
    const auto it = m_entries.find(strPath);
    if (it != m_entries.end())
        it->second.m_bReadOnly = bReadOnly;
}

std::shared_ptr<CMemFileSystem::Bytes> CMemFileSystem::GetFile(const std::string &strPath) const
{
    const auto it = m_entries.find(strPath);
    if (it == m_entries.end() || it->second.m_eKind != EKind::Regular)
        return nullptr;
    return it->second.m_pBytes;
}

std::vector<std::string> CMemFileSystem::List() const
{
    std::vector<std::string> paths;
    for (const auto &entry : m_entries)
        paths.push_back(entry.first);
    return paths;
}

bool CMemFileSystem::Exists(const std::string &strPath)
{
    return m_entries.count(strPath) != 0;
}

std::unique_ptr<CFile> CMemFileSystem::OpenRead(const std::string &strPath)
{
    const std::shared_ptr<Bytes> pBytes = GetFile(strPath);
    if (!pBytes)
        return nullptr;
    return std::make_unique<CMemFile>(pBytes, CFileException::EKind::Read);
}

bool CMemFileSystem::IsSameFile(const std::string &strFirst, const std::string &strSecond)
{
    return Exists(strFirst) && strFirst == strSecond;
}

std::unique_ptr<CFile> CMemFileSystem::CreateTemp(const std::string &strTarget, std::string &strTempPath)
{
    const auto it = m_entries.find(strTarget);
    if (it != m_entries.end() && (it->second.m_eKind != EKind::Regular || it->second.m_bReadOnly))
        return nullptr;
    const std::size_t nSlash = strTarget.find_last_of('/');
    const std::string strFolder = nSlash == std::string::npos ? "" : strTarget.substr(0, nSlash + 1);
    const std::string strName = nSlash == std::string::npos ? strTarget : strTarget.substr(nSlash + 1);
    std::string strCandidate;
    do
        strCandidate = strFolder + "." + strName + "." + std::to_string(++m_nNextTemp) + ".tmp";
    while (Exists(strCandidate));
    strTempPath = strCandidate;
    return std::make_unique<CMemFile>(AddFile(strCandidate), CFileException::EKind::Write);
}

void CMemFileSystem::Replace(const std::string &strTempPath, const std::string &strTarget)
{
    const auto itTemp = m_entries.find(strTempPath);
    if (itTemp == m_entries.end())
        throw CFileException(CFileException::EKind::Write, "No such file or directory");
    const auto itTarget = m_entries.find(strTarget);
    if (itTarget != m_entries.end() && itTarget->second.m_eKind == EKind::Directory)
        throw CFileException(CFileException::EKind::Write, "Is a directory");
    SEntry entry = itTemp->second;
    m_entries.erase(itTemp);
    m_entries[strTarget] = entry;
}

void CMemFileSystem::Remove(const std::string &strPath) noexcept
{
    m_entries.erase(strPath);
}

} // namespace tarvek
