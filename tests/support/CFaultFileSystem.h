#pragma once

#include "engine/CFileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarvek::test {

// Wraps a file system, counts what a conversion does with it and makes the Nth operation
// of one kind fail the way the system would: a failing disk for reads, a full disk for
// writes (what fits is written first), a refused rename.
class CFaultFileSystem : public CFileSystem {
public:
    enum class EOp {
        Open,       // OpenRead: the source cannot be opened
        Read,       // Seek, Read or GetLength of a file opened for reading
        CreateTemp, // CreateTemp: the target cannot be created
        Write,      // Seek, Write, GetLength or Close of the temporary target
        Replace,    // Replace: the finished target cannot be put in place
        Count
    };

    static constexpr const char *kReadReason = "Input/output error";
    static constexpr const char *kWriteReason = "No space left on device";
    static constexpr const char *kReplaceReason = "Permission denied";

    explicit CFaultFileSystem(CFileSystem &inner) : m_inner(inner) {}

    // Fails the nNth operation (counted from 1) of kind eOp; 0 fails nothing.
    void FailAt(EOp eOp, int nNth)
    {
        m_eFailOp = eOp;
        m_nFailAt = nNth;
    }
    int Count(EOp eOp) const { return m_counts[static_cast<int>(eOp)]; }
    bool HasFailed() const { return m_bFailed; }

    bool Exists(const std::string &strPath) override { return m_inner.Exists(strPath); }

    std::unique_ptr<CFile> OpenRead(const std::string &strPath) override
    {
        if (Next(EOp::Open))
            return nullptr;
        std::unique_ptr<CFile> file = m_inner.OpenRead(strPath);
        if (!file)
            return nullptr;
        return std::make_unique<CFaultFile>(*this, std::move(file), EOp::Read);
    }

    bool IsSameFile(const std::string &strFirst, const std::string &strSecond) override
    {
        return m_inner.IsSameFile(strFirst, strSecond);
    }

    std::unique_ptr<CFile> CreateTemp(const std::string &strTarget, std::string &strTempPath) override
    {
        if (Next(EOp::CreateTemp))
            return nullptr;
        std::unique_ptr<CFile> file = m_inner.CreateTemp(strTarget, strTempPath);
        if (!file)
            return nullptr;
        return std::make_unique<CFaultFile>(*this, std::move(file), EOp::Write);
    }

    void Replace(const std::string &strTempPath, const std::string &strTarget) override
    {
        if (Next(EOp::Replace))
            throw CFileException(CFileException::EKind::Write, kReplaceReason);
        m_inner.Replace(strTempPath, strTarget);
    }

    void Remove(const std::string &strPath) noexcept override { m_inner.Remove(strPath); }

private:
    class CFaultFile : public CFile {
    public:
        CFaultFile(CFaultFileSystem &owner, std::unique_ptr<CFile> inner, EOp eOp)
            : m_owner(owner), m_inner(std::move(inner)), m_eOp(eOp)
        {
        }

        void Seek(std::uint64_t nPosition) override
        {
            Check();
            m_inner->Seek(nPosition);
        }
        std::size_t Read(void *pBuffer, std::size_t nBytes) override
        {
            Check();
            return m_inner->Read(pBuffer, nBytes);
        }
        void Write(const void *pBuffer, std::size_t nBytes) override
        {
            if (m_owner.Next(m_eOp)) {
                m_inner->Write(pBuffer, nBytes / 2);
                Throw();
            }
            m_inner->Write(pBuffer, nBytes);
        }
        std::uint64_t GetPosition() const override { return m_inner->GetPosition(); }
        std::uint64_t GetLength() override
        {
            Check();
            return m_inner->GetLength();
        }
        void Close() override
        {
            Check();
            m_inner->Close();
        }

    private:
        void Check()
        {
            if (m_owner.Next(m_eOp))
                Throw();
        }
        [[noreturn]] void Throw() const
        {
            if (m_eOp == EOp::Read)
                throw CFileException(CFileException::EKind::Read, kReadReason);
            throw CFileException(CFileException::EKind::Write, kWriteReason);
        }

        CFaultFileSystem &m_owner;
        std::unique_ptr<CFile> m_inner;
        EOp m_eOp;
    };

    // Counts one operation; true when it is the one to fail.
    bool Next(EOp eOp)
    {
        const int nCount = ++m_counts[static_cast<int>(eOp)];
        if (eOp != m_eFailOp || nCount != m_nFailAt)
            return false;
        m_bFailed = true;
        return true;
    }

    CFileSystem &m_inner;
    int m_counts[static_cast<int>(EOp::Count)] = {};
    EOp m_eFailOp = EOp::Count;
    int m_nFailAt = 0;
    bool m_bFailed = false;
};

} // namespace tarvek::test
