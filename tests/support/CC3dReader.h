#pragma once

// Reads a C3D file back the way an independent reader does, following the record offsets
// and block counts rather than the writer's own arithmetic, and says what it cannot accept.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarvek::test {

class CC3dReader {
public:
    struct SParam {
        std::int8_t m_nType = 0;
        std::vector<std::uint8_t> m_dims;
        std::vector<std::uint8_t> m_data;
        std::string m_strDescription;
    };

    // Empty m_strError when the whole file could be read.
    explicit CC3dReader(std::vector<std::uint8_t> file) : m_file(std::move(file)) { m_strError = Parse(); }

    std::uint16_t Word(int nWord) const { return U16(2 * static_cast<std::size_t>(nWord - 1)); }
    float HeaderFloat(int nWord) const { return F32(2 * static_cast<std::size_t>(nWord - 1)); }

    const SParam *Find(const std::string &strGroup, const std::string &strName) const
    {
        const auto it = m_params.find({strGroup, strName});
        return it == m_params.end() ? nullptr : &it->second;
    }
    float Float(const std::string &strGroup, const std::string &strName, std::size_t nIndex = 0) const
    {
        float f;
        std::memcpy(&f, Find(strGroup, strName)->m_data.data() + 4 * nIndex, sizeof f);
        return f;
    }
    std::int16_t Int16(const std::string &strGroup, const std::string &strName, std::size_t nIndex = 0) const
    {
        const SParam &param = *Find(strGroup, strName);
        return static_cast<std::int16_t>(param.m_data[2 * nIndex] | (param.m_data[2 * nIndex + 1] << 8));
    }
    std::vector<std::string> Strings(const std::string &strGroup, const std::string &strName) const
    {
        const SParam &param = *Find(strGroup, strName);
        const std::size_t nWidth = param.m_dims.empty() ? 1 : param.m_dims[0];
        std::vector<std::string> strings;
        for (std::size_t i = 0; i + nWidth <= param.m_data.size(); i += nWidth)
            strings.emplace_back(param.m_data.begin() + static_cast<std::ptrdiff_t>(i),
                                 param.m_data.begin() + static_cast<std::ptrdiff_t>(i + nWidth));
        return strings;
    }

    // Value k of frame i of the data section.
    std::int16_t Value(std::size_t nFrame, std::size_t nValue) const
    {
        return static_cast<std::int16_t>(U16(m_nDataOffset + 2 * (nFrame * Word(3) + nValue)));
    }

    std::vector<std::uint8_t> m_file;
    std::string m_strError;
    std::map<std::pair<std::string, std::string>, SParam> m_params;
    std::vector<std::string> m_groups;
    std::size_t m_nDataOffset = 0;

private:
    std::uint16_t U16(std::size_t n) const
    {
        return static_cast<std::uint16_t>(m_file[n] | (m_file[n + 1] << 8));
    }
    float F32(std::size_t n) const
    {
        float f;
        std::memcpy(&f, m_file.data() + n, sizeof f);
        return f;
    }

    std::string Parse()
    {
        if (m_file.size() < 1024)
            return "shorter than a header block and one parameter block";
        if (m_file[0] != 2 || m_file[1] != 0x50)
            return "header block does not point at block 2 with the key 0x50";
        if (m_file[512 + 1] != 0x50 || m_file[512 + 3] != 84)
            return "parameter section header lacks the key or the processor code";
        const std::size_t nSectionEnd = 512 * (1 + static_cast<std::size_t>(m_file[512 + 2]));
        if (nSectionEnd > m_file.size())
            return "the file ends inside a counted parameter block";
        if (Word(9) != 2 + m_file[512 + 2])
            return "data start does not follow the parameter section";
        m_nDataOffset = 512 * (static_cast<std::size_t>(Word(9)) - 1);

        std::map<int, std::string> groupNames;
        std::vector<std::pair<int, std::pair<std::string, SParam>>> params;
        std::size_t p = 516;
        for (;;) {
            if (p >= nSectionEnd)
                return "records run past the parameter section";
            const auto nNameLength = static_cast<std::size_t>(std::abs(static_cast<std::int8_t>(m_file[p])));
            if (nNameLength == 0)
                break;
            const auto nId = static_cast<std::int8_t>(m_file[p + 1]);
            const std::size_t nOffsetField = p + 2 + nNameLength;
            if (nOffsetField + 2 > nSectionEnd)
                return "a record runs past the parameter section";
            const std::string strName(m_file.begin() + static_cast<std::ptrdiff_t>(p + 2),
                                      m_file.begin() + static_cast<std::ptrdiff_t>(nOffsetField));
            const std::size_t nNext = nOffsetField + U16(nOffsetField);
            if (U16(nOffsetField) == 0 || nNext > nSectionEnd)
                return "record " + strName + " points past the parameter section";
            std::size_t q = nOffsetField + 2;
            if (nId < 0) {
                const std::size_t nDescription = m_file[q];
                if (q + 1 + nDescription != nNext)
                    return "group " + strName + " has an offset that disagrees with its description";
                groupNames[-nId] = strName;
                m_groups.push_back(strName);
            } else {
                SParam param;
                param.m_nType = static_cast<std::int8_t>(m_file[q]);
                const std::size_t nDims = m_file[q + 1];
                q += 2;
                if (q + nDims > nNext)
                    return "parameter " + strName + " has dimensions past its record";
                param.m_dims.assign(m_file.begin() + static_cast<std::ptrdiff_t>(q),
                                    m_file.begin() + static_cast<std::ptrdiff_t>(q + nDims));
                q += nDims;
                std::size_t nData = static_cast<std::size_t>(std::abs(param.m_nType));
                for (const std::uint8_t nDim : param.m_dims)
                    nData *= nDim;
                if (q + nData + 1 > nNext)
                    return "parameter " + strName + " has data past its record";
                param.m_data.assign(m_file.begin() + static_cast<std::ptrdiff_t>(q),
                                    m_file.begin() + static_cast<std::ptrdiff_t>(q + nData));
                q += nData;
                const std::size_t nDescription = m_file[q];
                if (q + 1 + nDescription != nNext)
                    return "parameter " + strName + " has an offset that disagrees with its contents";
                param.m_strDescription.assign(m_file.begin() + static_cast<std::ptrdiff_t>(q + 1),
                                              m_file.begin() + static_cast<std::ptrdiff_t>(nNext));
                params.push_back({nId, {strName, std::move(param)}});
            }
            p = nNext;
        }
        for (auto &entry : params) {
            const auto it = groupNames.find(entry.first);
            if (it == groupNames.end())
                return "parameter " + entry.second.first + " belongs to no group";
            m_params[{it->second, entry.second.first}] = std::move(entry.second.second);
        }

        const std::uint64_t nValues = static_cast<std::uint64_t>(Word(3)) * Word(5);
        if (m_file.size() != m_nDataOffset + 2 * nValues)
            return "the data section is not as long as the header's frames";
        return {};
    }
};

} // namespace tarvek::test
