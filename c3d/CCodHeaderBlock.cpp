#include "engine/CCod.h"

namespace tarvek {

namespace {
constexpr std::uint8_t kC3dKey = 0x50;
constexpr std::uint16_t kProvisionalDataStart = 10;
} // namespace

int CCod::WriteHeader(COutStream& target)
{
    target.Seek(0);
    target.WriteZeros(512);
    target.Seek(0);
    target.WriteU8(2);
    target.WriteU8(kC3dKey);
    target.WriteU16(0);
    target.WriteU16(static_cast<std::uint16_t>(m_nChannels * m_nSamplesPerFrame));
    target.WriteU16(1);
    target.WriteU16(static_cast<std::uint16_t>(GetFrameCount()));
    target.WriteU16(0);
    target.WriteFloat(1.0f);
    target.WriteU16(kProvisionalDataStart);
    target.WriteU16(static_cast<std::uint16_t>(m_nSamplesPerFrame));
    target.WriteFloat(m_fFrameRate);
    return 1;
}

} // namespace tarvek
