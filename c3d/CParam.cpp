#include "c3d/CParam.h"

#include <cmath>
#include <cstring>

namespace tarvek {

namespace {

// The low bits of the value truncated toward zero, for any finite value: fmod on an
// integral double is exact, so even values far beyond 64 bits keep their true low bits.
std::uint32_t LowBits(float fValue, double fModulus)
{
    if (!std::isfinite(fValue))
        return 0;
    double fRest = std::fmod(std::trunc(static_cast<double>(fValue)), fModulus);
    if (fRest < 0)
        fRest += fModulus;
    return static_cast<std::uint32_t>(fRest);
}

} // namespace

void CParam::SetValue(int nIndex, float fValue)
{
    if (m_nType == kChar || nIndex < 0 || nIndex >= m_nValues || nIndex >= static_cast<int>(m_pValues.size()))
        return;
    Slot& slot = m_pValues[static_cast<std::size_t>(nIndex)];
    switch (m_nType) {
    case kByte:
        slot[0] = static_cast<std::uint8_t>(LowBits(fValue, 256.0));
        break;
    case kInt16: {
        const std::uint32_t nBits = LowBits(fValue, 65536.0);
        slot[0] = static_cast<std::uint8_t>(nBits & 0xFF);
        slot[1] = static_cast<std::uint8_t>(nBits >> 8);
        break;
    }
    case kFloat: {
        std::uint32_t nBits;
        std::memcpy(&nBits, &fValue, sizeof nBits);
        for (std::size_t i = 0; i < slot.size(); ++i)
            slot[i] = static_cast<std::uint8_t>(nBits >> (8 * i));
        break;
    }
    default:
        break;
    }
}

std::int32_t CParam::GetInteger(int nIndex) const
{
    const Slot& slot = m_pValues.at(static_cast<std::size_t>(nIndex));
    if (m_nType == kByte)
        return static_cast<std::int8_t>(slot[0]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(slot[0] | (slot[1] << 8)));
}

float CParam::GetFloat(int nIndex) const
{
    const Slot& slot = m_pValues.at(static_cast<std::size_t>(nIndex));
    std::uint32_t nBits = 0;
    for (std::size_t i = 0; i < slot.size(); ++i)
        nBits |= static_cast<std::uint32_t>(slot[i]) << (8 * i);
    float fValue;
    std::memcpy(&fValue, &nBits, sizeof fValue);
    return fValue;
}

} // namespace tarvek
