#include "engine/CFileSystem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvek {

namespace {

std::string Reason(int nError)
{
    return std::strerror(nError);
}

class CPosixFile : public CFile {
public:
    CPosixFile(int fd, CFileException::EKind eKind) : m_fd(fd), m_eKind(eKind) {}
    ~CPosixFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    void Seek(std::uint64_t nPosition) override
    {
        if (::lseek(m_fd, static_cast<off_t>(nPosition), SEEK_SET) < 0)
            Fail(errno);
        m_nPosition = nPosition;
    }

    std::size_t Read(void* pBuffer, std::size_t nBytes) override
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, pBuffer, nBytes);
            if (n >= 0) {
                m_nPosition += static_cast<std::uint64_t>(n);
                return static_cast<std::size_t>(n);
            }
            if (errno != EINTR)
                Fail(errno);
        }
    }

    void Write(const void* pBuffer, std::size_t nBytes) override
    {
        const auto* p = static_cast<const char*>(pBuffer);
        while (nBytes > 0) {
            const ssize_t n = ::write(m_fd, p, nBytes);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                Fail(errno);
            }
            if (n == 0)
                Fail(ENOSPC);
            p += n;
            nBytes -= static_cast<std::size_t>(n);
            m_nPosition += static_cast<std::uint64_t>(n);
        }
    }

    std::uint64_t GetPosition() const override { return m_nPosition; }

    std::uint64_t GetLength() override
    {
        struct stat st;
        if (::fstat(m_fd, &st) != 0)
            Fail(errno);
        return static_cast<std::uint64_t>(st.st_size);
    }

    void Close() override
    {
        if (m_fd < 0)
            return;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            Fail(errno);
    }

private:
    [[noreturn]] void Fail(int nError) const { throw CFileException(m_eKind, Reason(nError)); }

    int m_fd;
    CFileException::EKind m_eKind;
    std::uint64_t m_nPosition = 0;
};

std::string FolderOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

std::string NameOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

class CPosixFileSystem : public CFileSystem {
public:
    bool Exists(const std::string& strPath) override
    {
        struct stat st;
        return ::stat(strPath.c_str(), &st) == 0;
    }

    std::unique_ptr<CFile> OpenRead(const std::string& strPath) override
    {
        // O_NONBLOCK keeps a FIFO without writer from hanging the open.
        const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        const int nFlags = ::fcntl(fd, F_GETFL);
        if (nFlags >= 0)
            ::fcntl(fd, F_SETFL, nFlags & ~O_NONBLOCK);
        return std::make_unique<CPosixFile>(fd, CFileException::EKind::Read);
    }

    bool IsSameFile(const std::string& strFirst, const std::string& strSecond) override
    {
        struct stat a, b;
        if (::stat(strFirst.c_str(), &a) != 0 || ::stat(strSecond.c_str(), &b) != 0)
            return false;
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }

    std::unique_ptr<CFile> CreateTemp(const std::string& strTarget, std::string& strTempPath) override
    {
        // An existing target must itself be writable, as if it were opened in place.
        struct stat st;
        if (::stat(strTarget.c_str(), &st) == 0) {
            const int fd = ::open(strTarget.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                return nullptr;
            ::close(fd);
            if (!S_ISREG(st.st_mode))
                return nullptr;
        }
        const std::string strStem = FolderOf(strTarget) + "/." + NameOf(strTarget) + ".";
        std::random_device random;
        for (int nTry = 0; nTry < 100; ++nTry) {
            const std::string strCandidate = strStem + std::to_string(random()) + ".tmp";
            const int fd = ::open(strCandidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                strTempPath = strCandidate;
                return std::make_unique<CPosixFile>(fd, CFileException::EKind::Write);
            }
            if (errno != EEXIST)
                return nullptr;
        }
        return nullptr;
    }

    void Replace(const std::string& strTempPath, const std::string& strTarget) override
    {
        if (::rename(strTempPath.c_str(), strTarget.c_str()) != 0)
            throw CFileException(CFileException::EKind::Write, Reason(errno));
    }

    void Remove(const std::string& strPath) noexcept override { ::unlink(strPath.c_str()); }
};

} // namespace

CFileSystem& GetDiskFileSystem()
{
    static CPosixFileSystem fileSystem;
    return fileSystem;
}

} // namespace tarvek
