#include "engine/CCod.h"
#include "engine/NarrowToFloat.h"

#include <cmath>
#include <string>

namespace tarvek {

namespace {

constexpr std::uint16_t kLegacyHeaderSize = 1156;
constexpr std::uint64_t kSampleIntervalOffset = 28;

// The rate is narrowed into the field before it is tested; the test is made on the
// double, which is not greater than zero also when it is NaN.
bool StoreRate(double fRate, float& fField)
{
    fField = NarrowToFloat(fRate);
    return fRate > 0;
}

} // namespace

bool CCod::ReadHeaderSize()
{
    CInStream source(*m_srcFile);
    source.Seek(6);
    m_nHeaderSize = source.ReadU16();
    m_bExtendedHeader = m_nHeaderSize != kLegacyHeaderSize;
    return true;
}

std::uint32_t CCod::ReadDataByteCount()
{
    CInStream source(*m_srcFile);
    source.Seek(8);
    return source.ReadU32();
}

void CCod::ComputeSampleCount(std::uint32_t nDataBytes)
{
    m_nSamples = nDataBytes / static_cast<std::uint32_t>(m_nChannels) / 2;
    m_nHeaderSamples = m_nSamples;
}

bool CCod::ReadLegacyHeader()
{
    CInStream source(*m_srcFile);
    source.Seek(0);
    const int nChannels = source.ReadU8() & 0x1F;
    if (nChannels == 0)
        return Fail(kMsgNoChannelsLegacy, EMessageIcon::Error);
    source.Seek(kSampleIntervalOffset);
    if (!StoreRate(1.0 / source.ReadDouble(), m_fSampleRate))
        return Fail(kMsgSamplingRate, EMessageIcon::Error);
    m_nChannels = static_cast<std::int16_t>(nChannels);
    ComputeSampleCount(ReadDataByteCount());
    return true;
}

bool CCod::ReadStandardHeader()
{
    CInStream source(*m_srcFile);
    source.Seek(0);
    const int nChannels = source.ReadU8();
    source.Seek(kSampleIntervalOffset);
    if (!StoreRate(1.0 / source.ReadDouble(), m_fSampleRate))
        return Fail(kMsgSamplingRate, EMessageIcon::Error);
    m_nChannels = static_cast<std::int16_t>(nChannels);
    if (m_nChannels == 0)
        return Fail(kMsgNoChannels, EMessageIcon::Error);
    ComputeSampleCount(ReadDataByteCount());
    return true;
}

bool CCod::ReadLargeHeader()
{
    CInStream source(*m_srcFile);
    source.Seek(0);
    const int nChannels = source.ReadU8();
    const int nAddend = source.ReadU8();
    const int nWord = source.ReadU16();
    // A channel byte of zero gives an infinite or undefined quotient, never a fault.
    const double fSum = static_cast<double>(nAddend + nWord);
    const double fRate = nChannels != 0 ? fSum / nChannels : (fSum > 0 ? HUGE_VAL : std::nan(""));
    if (!StoreRate(fRate, m_fSampleRate))
        return Fail(kMsgSamplingRate, EMessageIcon::Error);
    m_nChannels = static_cast<std::int16_t>(nChannels);
    if (m_nChannels == 0)
        return Fail(kMsgNoChannels, EMessageIcon::Error);
    ComputeSampleCount(ReadDataByteCount());
    return true;
}

void CCod::FitSamplesToFile()
{
    // A recording cut short (a crash while logging) keeps the whole instants it holds.
    const std::uint64_t nLength = m_srcFile->GetLength();
    const std::uint64_t nHeld = nLength > m_nHeaderSize ? nLength - m_nHeaderSize : 0;
    const std::uint64_t nInstantBytes = 2 * static_cast<std::uint64_t>(m_nChannels);
    if (static_cast<std::uint64_t>(m_nSamples) * nInstantBytes <= nHeld)
        return;
    m_nSamples = static_cast<std::uint32_t>(nHeld / nInstantBytes);
    m_sink.ShowWarning("The file holds " + std::to_string(m_nSamples) + " of the " +
                       std::to_string(m_nHeaderSamples) + " samples per channel that its header gives");
}

} // namespace tarvek
