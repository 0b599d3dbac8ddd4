#include "engine/CCod.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tarvek {

namespace {

// The longest description a one-byte string width can describe.
constexpr std::size_t kMaxStringWidth = 255;

CGroup MakeGroup(const char* pszName, const char* pszDescription, std::int32_t nId)
{
    CGroup group;
    group.m_strName = pszName;
    group.m_strDescription = pszDescription;
    group.m_bLocked = 1;
    group.m_nId = nId;
    return group;
}

CParam MakeParam(std::int32_t nGroupId, const char* pszName, const char* pszDescription, std::int32_t bLocked,
                 std::int16_t nType)
{
    CParam param;
    param.m_nGroupId = nGroupId;
    param.m_strName = pszName;
    param.m_strDescription = pszDescription;
    param.m_bLocked = bLocked;
    param.m_nType = nType;
    return param;
}

// No dimensions and one value.
CParam MakeScalar(std::int32_t nGroupId, const char* pszName, const char* pszDescription, std::int16_t nType,
                  float fValue)
{
    CParam param = MakeParam(nGroupId, pszName, pszDescription, 1, nType);
    param.m_nValues = 1;
    param.m_pValues.resize(1);
    param.SetValue(0, fValue);
    return param;
}

// One value per channel.
CParam MakeArray(std::int32_t nGroupId, const char* pszName, const char* pszDescription, std::int16_t nType,
                 int nChannels, float fValue)
{
    CParam param = MakeParam(nGroupId, pszName, pszDescription, 1, nType);
    param.m_nDims = 1;
    param.m_pDims = {static_cast<std::uint8_t>(nChannels)};
    param.m_nValues = static_cast<std::int16_t>(nChannels);
    param.m_pValues.resize(static_cast<std::size_t>(nChannels));
    for (int i = 0; i < nChannels; ++i)
        param.SetValue(i, fValue);
    return param;
}

// Strings padded to the longest of them, at most kMaxStringWidth.
CParam MakeStrings(std::int32_t nGroupId, const char* pszName, const char* pszDescription,
                   std::int32_t bLocked, std::vector<std::string> strings)
{
    CParam param = MakeParam(nGroupId, pszName, pszDescription, bLocked, CParam::kChar);
    std::size_t nWidth = 0;
    for (const std::string& str : strings)
        nWidth = std::max(nWidth, str.size());
    param.m_nDims = 2;
    param.m_pDims = {static_cast<std::uint8_t>(std::min(nWidth, kMaxStringWidth)),
                     static_cast<std::uint8_t>(strings.size())};
    param.m_nValues = static_cast<std::int16_t>(strings.size());
    param.m_strings = std::move(strings);
    return param;
}

std::string Numbered(const char* pszFormat, int nNumber)
{
    char szText[32];
    std::snprintf(szText, sizeof szText, pszFormat, nNumber);
    return szText;
}

std::string Lower(std::string str)
{
    for (char& c : str)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

bool SameName(const std::string& strFirst, const std::string& strSecond)
{
    return strFirst.size() == strSecond.size() && Lower(strFirst) == Lower(strSecond);
}

} // namespace

void CCod::CreateGroups()
{
    m_groups.clear();
    m_groups.push_back(MakeGroup("ANALOG", "Analog Parameters", -1));
    m_groups.push_back(MakeGroup("POINT", "Point Parameters", -2));
    m_groups.push_back(MakeGroup("EMG", "EMG Parameters", -3));
}

void CCod::BuildParameters()
{
    const int n = m_nChannels;
    auto place = [this](CParam param) {
        if (m_nNextParam >= m_params.size())
            m_params.resize(m_nNextParam + 1u);
        m_params[m_nNextParam] = std::move(param);
        ++m_nNextParam;
    };

    std::vector<std::string> units(static_cast<std::size_t>(n), "V");
    std::vector<std::string> labels, descriptions, sides;
    for (int i = 0; i < n; ++i) {
        const auto nIndex = static_cast<std::size_t>(i);
        const bool bAnnotated = nIndex < m_annotations.size();
        labels.push_back(Numbered("CH%03d", i + 1));
        descriptions.push_back(bAnnotated && !m_annotations[nIndex].empty()
                                   ? m_annotations[nIndex]
                                   : Numbered("Channel %03d", i + 1));
        std::string strSide = "N";
        if (bAnnotated) {
            const std::string strLower = Lower(m_annotations[nIndex]);
            if (strLower.find("left") != std::string::npos)
                strSide = "L";
            else if (strLower.find("right") != std::string::npos)
                strSide = "R";
        }
        sides.push_back(strSide);
    }

    place(MakeScalar(1, "GEN_SCALE", "General Scale Factor", CParam::kFloat, 1.0f));
    place(MakeScalar(1, "USED", "Number of analog channels used", CParam::kInt16, static_cast<float>(n)));
    place(MakeArray(1, "SCALE", "Analog scale factors", CParam::kFloat, n, 1.0f));
    place(MakeArray(1, "OFFSET", "Analog Offsets", CParam::kInt16, n, 0.0f));
    place(MakeStrings(1, "UNITS", "Analog units", 0, std::move(units)));
    place(MakeStrings(1, "LABELS", "Analog labels", 1, std::move(labels)));
    place(MakeStrings(1, "DESCRIPTIONS", "Analog descriptions", 1, std::move(descriptions)));
    place(MakeScalar(1, "RATE", "Analog Base Sampling Rate", CParam::kFloat, m_fSampleRate));
    place(MakeScalar(1, "BITS", "Analog Data Sample Resolution", CParam::kInt16, 12.0f));
    CParam format = MakeStrings(1, "FORMAT", "Analog Data format", 1, {"SIGNED"});
    format.m_pDims[0] = 12;
    place(std::move(format));
    place(MakeArray(3, "TYPE", "Channel Type", CParam::kByte, n, 0.0f));
    CParam side = MakeStrings(3, "SIDE", "Channel Side", 1, std::move(sides));
    side.m_pDims[0] = 1;
    place(std::move(side));
    place(MakeScalar(2, "RATE", "Video sampling rate", CParam::kFloat, m_fFrameRate));
}

void CCod::AddDataStart()
{
    m_params.push_back(MakeScalar(2, "Data_Start", "Starting Record of Data", CParam::kInt16, 12.0f));
}

int CCod::FindParam(const std::string& strGroup, const std::string& strParam) const
{
    for (const std::optional<CGroup>& group : m_groups) {
        if (!group) {
            m_sink.ShowMessage("Memory Error", EMessageIcon::Warning);
            return -1;
        }
        if (!SameName(group->m_strName, strGroup))
            continue;
        const std::int32_t nId = group->m_nId < 0 ? -group->m_nId : group->m_nId;
        for (std::size_t i = 0; i < m_params.size(); ++i) {
            const std::optional<CParam>& param = m_params[i];
            if (!param) {
                m_sink.ShowMessage("Memory Error", EMessageIcon::Warning);
                return -1;
            }
            if (SameName(param->m_strName, strParam) && param->m_nGroupId == nId)
                return static_cast<int>(i);
        }
        return -1;
    }
    return -1;
}

} // namespace tarvek
