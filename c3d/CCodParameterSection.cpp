#include "engine/CCod.h"

#include <cstdlib>

namespace tarvek {

namespace {

constexpr std::uint64_t kBlockBytes = 512;
constexpr std::uint8_t kC3dKey = 0x50;
constexpr std::uint8_t kProcessorIntel = 84;

// Name length byte: negative marks a locked entry.
std::uint8_t NameLength(const std::string& strName, std::int32_t bLocked)
{
    const auto nLength = static_cast<std::int8_t>(static_cast<std::uint8_t>(strName.size()));
    return static_cast<std::uint8_t>(bLocked ? -nLength : nLength);
}

void WriteSectionHeader(COutStream& target, std::uint8_t nBlocks)
{
    target.Seek(kBlockBytes);
    target.WriteU8(1);
    target.WriteU8(kC3dKey);
    target.WriteU8(nBlocks);
    target.WriteU8(kProcessorIntel);
}

void WriteGroup(COutStream& target, const CGroup& group)
{
    const std::uint8_t nName = NameLength(group.m_strName, group.m_bLocked);
    const std::size_t nNameBytes = static_cast<std::size_t>(std::abs(static_cast<std::int8_t>(nName)));
    const auto nDescription = static_cast<std::uint8_t>(group.m_strDescription.size());
    target.WriteU8(nName);
    target.WriteU8(static_cast<std::uint8_t>(group.m_nId));
    target.WriteBytes(group.m_strName.data(), nNameBytes);
    target.WriteU16(static_cast<std::uint16_t>(nDescription + 3));
    target.WriteU8(nDescription);
    target.WriteBytes(group.m_strDescription.data(), nDescription);
}

std::size_t DataBytes(const CParam& param)
{
    switch (param.m_nType) {
    case CParam::kChar:
        return (param.m_pDims.empty() ? 0 : param.m_pDims[0]) * param.m_strings.size();
    case CParam::kByte:
        return static_cast<std::size_t>(param.m_nValues);
    case CParam::kInt16:
        return 2 * static_cast<std::size_t>(param.m_nValues);
    case CParam::kFloat:
        return 4 * static_cast<std::size_t>(param.m_nValues);
    default:
        return 0;
    }
}

void WriteData(COutStream& target, const CParam& param)
{
    if (param.m_nType == CParam::kChar) {
        const std::size_t nWidth = param.m_pDims.empty() ? 0 : param.m_pDims[0];
        for (std::string str : param.m_strings) {
            str.resize(nWidth, ' ');
            target.WriteBytes(str.data(), nWidth);
        }
        return;
    }
    std::size_t nBytesPerValue = 0;
    if (param.m_nType == CParam::kByte || param.m_nType == CParam::kInt16 || param.m_nType == CParam::kFloat)
        nBytesPerValue = static_cast<std::size_t>(param.m_nType);
    for (std::int16_t i = 0; i < param.m_nValues; ++i)
        target.WriteBytes(param.m_pValues[static_cast<std::size_t>(i)].data(), nBytesPerValue);
}

} // namespace

void CCod::WriteParameters(COutStream& target)
{
    AddDataStart();
    WriteSectionHeader(target, 8);
    for (const std::optional<CGroup>& group : m_groups)
        WriteGroup(target, *group);

    const int nDataStartIndex = FindParam("Point", "Data_Start");
    std::uint64_t nDataStartValue = 0;
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        const CParam& param = *m_params[i];
        const std::uint8_t nName = NameLength(param.m_strName, param.m_bLocked);
        const auto nNameBytes = static_cast<std::size_t>(std::abs(static_cast<std::int8_t>(nName)));
        const auto nDescription = static_cast<std::uint8_t>(param.m_strDescription.size());
        const std::size_t nData = DataBytes(param);
        target.WriteU8(nName);
        target.WriteU8(static_cast<std::uint8_t>(param.m_nGroupId));
        target.WriteBytes(param.m_strName.data(), nNameBytes);
        target.WriteU16(static_cast<std::uint16_t>(param.m_nDims + nDescription + nData + 5));
        target.WriteU8(static_cast<std::uint8_t>(param.m_nType));
        target.WriteU8(param.m_nDims);
        target.WriteBytes(param.m_pDims.data(), param.m_nDims);
        if (static_cast<int>(i) == nDataStartIndex)
            nDataStartValue = target.GetPosition();
        WriteData(target, param);
        target.WriteU8(nDescription);
        target.WriteBytes(param.m_strDescription.data(), nDescription);
    }
    target.WriteU8(0);

    const std::uint64_t nEnd = target.GetPosition();
    const std::uint64_t k = (nEnd + kBlockBytes - 1) / kBlockBytes;
    const auto nDataStart = static_cast<std::uint16_t>(k + 1);
    // Readers expect every block the section header counts to exist, frames or not.
    target.WriteZeros(k * kBlockBytes - nEnd);
    WriteSectionHeader(target, static_cast<std::uint8_t>(k - 1));
    target.Seek(16);
    target.WriteU16(nDataStart);
    if (nDataStartIndex > 0 && nDataStartValue != 0) {
        target.Seek(nDataStartValue);
        target.WriteU16(nDataStart);
    }
    m_nDataStart = nDataStart;
    target.Seek(k * kBlockBytes);
    m_params.pop_back();
}

} // namespace tarvek
