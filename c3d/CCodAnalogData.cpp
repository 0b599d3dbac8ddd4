#include "engine/CCod.h"

namespace tarvek {

// A frame lists every channel for its first instant, then every channel for the next:
// exactly the order of the WDQ sample words. So the data section is the source's words,
// decoded, cut to the whole frames, and it streams through one chunk buffer.
void CCod::WriteAnalogData(COutStream& target)
{
    const std::uint64_t nValues = static_cast<std::uint64_t>(GetFrameCount()) *
                                  static_cast<std::uint64_t>(m_nSamplesPerFrame) *
                                  static_cast<std::uint64_t>(m_nChannels);
    std::uint64_t nRemaining = 2 * nValues;
    std::uint64_t nPosition = 512 * static_cast<std::uint64_t>(m_nDataStart - 1);
    target.Seek(nPosition);
    m_srcFile->Seek(m_nHeaderSize);
    std::uint8_t* pBuffer = m_sampleBuffer.data();
    while (nRemaining > 0) {
        // Writes that end on chunk boundaries of the target fill whole pages of the
        // system's cache, which copies them measurably faster than pages begun by halves.
        const std::uint64_t nToBoundary = m_sampleBuffer.size() - nPosition % m_sampleBuffer.size();
        const std::size_t nChunk =
            static_cast<std::size_t>(nRemaining < nToBoundary ? nRemaining : nToBoundary);
        // The size was checked when the source was read; less now means it was cut meanwhile.
        if (m_srcFile->ReadZeroFilled(pBuffer, nChunk) != nChunk)
            throw CFileException(CFileException::EKind::Read, "The file became shorter while it was read");
        DecodeSampleWords(pBuffer, nChunk / 2);
        target.WriteBytes(pBuffer, nChunk);
        nRemaining -= nChunk;
        nPosition += nChunk;
    }
}

} // namespace tarvek
