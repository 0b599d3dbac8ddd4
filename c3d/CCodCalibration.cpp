#include "engine/CCod.h"
#include "engine/NarrowToFloat.h"

namespace tarvek {

namespace {

constexpr std::uint64_t kChannelEntries = 110;
constexpr std::uint64_t kChannelEntryBytes = 36;

} // namespace

void CCod::ApplyCalibration()
{
    const int nScale = FindParam("Analog", "Scale");
    const int nOffset = FindParam("Analog", "Offset");
    if (nScale < 0 || nOffset < 0)
        return;
    CParam& scale = *m_params[static_cast<std::size_t>(nScale)];
    CParam& offset = *m_params[static_cast<std::size_t>(nOffset)];
    CInStream source(*m_srcFile);
    for (int i = 0; i < m_nChannels; ++i) {
        // Entry bytes 0 to 7 carry nothing the target needs.
        source.Seek(kChannelEntries + kChannelEntryBytes * static_cast<std::uint64_t>(i) + 8);
        const double fScale = source.ReadDouble();
        const double fOffset = source.ReadDouble();
        scale.SetValue(i, NarrowToFloat(fScale));
        offset.SetValue(i, NarrowToFloat(fOffset));
    }
}

} // namespace tarvek
