#pragma once

#include "CFileSystem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarvek {

// A file system held in memory, so that a whole conversion can run without a disk: the
// fuzzer's, and tests that change a file while it is open. Paths are plain keys; there
// are no folders, only the entries that were added.
class CMemFileSystem : public CFileSystem {
public:
    enum class EKind { Regular, Directory, Fifo };
    using Bytes = std::vector<std::uint8_t>;

    // Adds or replaces an entry. The bytes are shared with every file opened on it, so a
    // test can change the file under an open reader.
    std::shared_ptr<Bytes> AddFile(const std::string &strPath, Bytes bytes = {});
    void AddSpecial(const std::string &strPath, EKind eKind);
    // A read-only entry opens for reading but cannot be replaced.
    void SetReadOnly(const std::string &strPath, bool bReadOnly = true);

    // The bytes of a regular entry; null when there is none.
    std::shared_ptr<Bytes> GetFile(const std::string &strPath) const;
    // Every path, sorted: shows what a conversion left behind.
    std::vector<std::string> List() const;

    bool Exists(const std::string &strPath) override;
    std::unique_ptr<CFile> OpenRead(const std::string &strPath) override;
    bool IsSameFile(const std::string &strFirst, const std::string &strSecond) override;
    std::unique_ptr<CFile> CreateTemp(const std::string &strTarget, std::string &strTempPath) override;
    void Replace(const std::string &strTempPath, const std::string &strTarget) override;
    void Remove(const std::string &strPath) noexcept override;

private:
    struct SEntry {
        EKind m_eKind = EKind::Regular;
        bool m_bReadOnly = false;
        std::shared_ptr<Bytes> m_pBytes;
    };

    std::map<std::string, SEntry> m_entries;
    unsigned m_nNextTemp = 0;
};

} // namespace tarvek
