#pragma once

#include "CFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace tarvek {

// Little-endian values assembled byte by byte, so the files are the same on any host.
// The format code above this layer never sees the host's byte order.

inline std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline double GetDouble(const std::uint8_t* p)
{
    const std::uint64_t nBits = GetU32(p) | (static_cast<std::uint64_t>(GetU32(p + 4)) << 32);
    double fValue;
    std::memcpy(&fValue, &nBits, sizeof fValue);
    return fValue;
}

// Reads fixed-size fields; bytes past the end of the file read as zero.
class CInStream {
public:
    explicit CInStream(CFile& file) : m_file(file) {}

    void Seek(std::uint64_t nPosition) { m_file.Seek(nPosition); }

    std::uint8_t ReadU8()
    {
        std::uint8_t b[1];
        m_file.ReadZeroFilled(b, sizeof b);
        return b[0];
    }
    std::uint16_t ReadU16()
    {
        std::uint8_t b[2];
        m_file.ReadZeroFilled(b, sizeof b);
        return GetU16(b);
    }
    std::uint32_t ReadU32()
    {
        std::uint8_t b[4];
        m_file.ReadZeroFilled(b, sizeof b);
        return GetU32(b);
    }
    double ReadDouble()
    {
        std::uint8_t b[8];
        m_file.ReadZeroFilled(b, sizeof b);
        return GetDouble(b);
    }

private:
    CFile& m_file;
};

// Writes little-endian fields through a small buffer; a seek or a position query sends
// what is buffered first, so the file sees the same bytes as unbuffered writes.
class COutStream {
public:
    explicit COutStream(CFile& file) : m_file(file) { m_buffer.reserve(kBufferSize); }
    COutStream(const COutStream&) = delete;
    COutStream& operator=(const COutStream&) = delete;

    void Seek(std::uint64_t nPosition)
    {
        Flush();
        m_file.Seek(nPosition);
    }
    std::uint64_t GetPosition()
    {
        Flush();
        return m_file.GetPosition();
    }
    void Flush()
    {
        if (!m_buffer.empty()) {
            m_file.Write(m_buffer.data(), m_buffer.size());
            m_buffer.clear();
        }
    }

    void WriteBytes(const void* pData, std::size_t nBytes)
    {
        if (nBytes >= kBufferSize) {
            Flush();
            m_file.Write(pData, nBytes);
            return;
        }
        if (m_buffer.size() + nBytes > kBufferSize)
            Flush();
        const auto* p = static_cast<const std::uint8_t*>(pData);
        m_buffer.insert(m_buffer.end(), p, p + nBytes);
    }
    void WriteU8(std::uint8_t n) { WriteBytes(&n, 1); }
    void WriteU16(std::uint16_t n)
    {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)};
        WriteBytes(b, sizeof b);
    }
    void WriteFloat(float f)
    {
        std::uint32_t nBits;
        std::memcpy(&nBits, &f, sizeof nBits);
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(nBits), static_cast<std::uint8_t>(nBits >> 8),
                                   static_cast<std::uint8_t>(nBits >> 16),
                                   static_cast<std::uint8_t>(nBits >> 24)};
        WriteBytes(b, sizeof b);
    }
    void WriteZeros(std::uint64_t nBytes)
    {
        static const std::uint8_t zeros[4096] = {};
        while (nBytes > 0) {
            const std::size_t nChunk =
                nBytes < sizeof zeros ? static_cast<std::size_t>(nBytes) : sizeof zeros;
            WriteBytes(zeros, nChunk);
            nBytes -= nChunk;
        }
    }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    CFile& m_file;
    std::vector<std::uint8_t> m_buffer;
};

} // namespace tarvek
