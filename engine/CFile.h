#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarvek {

// Raised by the file layer for a real I/O failure (not for reaching the end of a file).
// It carries the system's own reason so the job can show it to the user.
class CFileException : public std::runtime_error {
public:
    enum class EKind { Read, Write };

    CFileException(EKind eKind, const std::string& strReason)
        : std::runtime_error(strReason), m_eKind(eKind), m_strReason(strReason)
    {
    }

    EKind m_eKind;
    std::string m_strReason;
};

// One open file with 64-bit offsets. A read past the end returns the bytes there are;
// failures raise CFileException.
class CFile {
public:
    virtual ~CFile() = default;

    virtual void Seek(std::uint64_t nPosition) = 0;
    virtual std::size_t Read(void* pBuffer, std::size_t nBytes) = 0;
    virtual void Write(const void* pBuffer, std::size_t nBytes) = 0;
    virtual std::uint64_t GetPosition() const = 0;
    virtual std::uint64_t GetLength() = 0;
    virtual void Close() = 0;

    // Read that fills whatever the file lacks with zero bytes, so that a short file
    // yields values instead of garbage. Returns the number of bytes that really existed.
    std::size_t ReadZeroFilled(void* pBuffer, std::size_t nBytes);
};

} // namespace tarvek
