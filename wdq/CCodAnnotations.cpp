#include "engine/CCod.h"

namespace tarvek {

void CCod::ReadAnnotations()
{
    CInStream source(*m_srcFile);
    source.Seek(6);
    const std::uint16_t nHeaderSize = source.ReadU16();
    const std::uint32_t nDataBytes = source.ReadU32();
    const std::uint32_t nEventBytes = source.ReadU32();
    const std::uint16_t nAnnotationBytes = source.ReadU16();
    m_nTrailerOffset = static_cast<std::uint64_t>(nHeaderSize) + nDataBytes;
    m_nEventBytes = nEventBytes;
    m_nAnnotationBytes = nAnnotationBytes;

    // Only the annotation bytes that the file really holds are taken.
    const std::uint64_t nStart = m_nTrailerOffset + m_nEventBytes;
    const std::uint64_t nLength = m_srcFile->GetLength();
    const std::uint64_t nHeld = nStart < nLength ? nLength - nStart : 0;
    std::vector<std::uint8_t> buffer(nHeld < m_nAnnotationBytes ? nHeld : m_nAnnotationBytes);
    if (buffer.empty())
        return;
    m_srcFile->Seek(nStart);
    buffer.resize(m_srcFile->ReadZeroFilled(buffer.data(), buffer.size()));

    std::string strCurrent;
    for (const std::uint8_t nByte : buffer) {
        if (nByte != 0) {
            strCurrent.push_back(static_cast<char>(nByte));
        } else {
            m_annotations.push_back(strCurrent);
            strCurrent.clear();
        }
    }
}

} // namespace tarvek
