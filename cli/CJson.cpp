#include "cli/CJson.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarvek {

namespace {

// Length of the valid UTF-8 sequence at p, or 0.
std::size_t Utf8Length(const unsigned char* p, std::size_t nLeft)
{
    std::size_t nLength;
    if (p[0] < 0x80)
        return 1;
    if ((p[0] & 0xE0) == 0xC0 && p[0] >= 0xC2)
        nLength = 2;
    else if ((p[0] & 0xF0) == 0xE0)
        nLength = 3;
    else if ((p[0] & 0xF8) == 0xF0 && p[0] <= 0xF4)
        nLength = 4;
    else
        return 0;
    if (nLength > nLeft)
        return 0;
    for (std::size_t i = 1; i < nLength; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    return nLength;
}

} // namespace

std::string JsonString(const std::string& str)
{
    std::string strOut = "\"";
    const auto* p = reinterpret_cast<const unsigned char*>(str.data());
    std::size_t i = 0;
    while (i < str.size()) {
        const unsigned char c = p[i];
        const std::size_t nLength = Utf8Length(p + i, str.size() - i);
        if (c == '"' || c == '\\') {
            strOut += '\\';
            strOut += static_cast<char>(c);
        } else if (c < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", c);
            strOut += szEscape;
        } else if (nLength == 0) {
            strOut += static_cast<char>(0xC0 | (c >> 6));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            strOut.append(str, i, nLength);
            i += nLength;
            continue;
        }
        ++i;
    }
    return strOut + "\"";
}

std::string JsonNumber(double fValue)
{
    if (!std::isfinite(fValue))
        return "null";
    char szNumber[40];
    for (int nDigits = 6; nDigits <= 17; ++nDigits) {
        std::snprintf(szNumber, sizeof szNumber, "%.*g", nDigits, fValue);
        if (static_cast<float>(std::strtod(szNumber, nullptr)) == static_cast<float>(fValue))
            break;
    }
    return szNumber;
}

void CJsonObject::Key(const std::string& strKey)
{
    if (!m_strBody.empty())
        m_strBody += ",";
    m_strBody += JsonString(strKey) + ":";
}

CJsonObject& CJsonObject::Add(const std::string& strKey, const std::string& strValue)
{
    Key(strKey);
    m_strBody += JsonString(strValue);
    return *this;
}

CJsonObject& CJsonObject::Add(const std::string& strKey, const char* pszValue)
{
    return Add(strKey, std::string(pszValue));
}

CJsonObject& CJsonObject::Add(const std::string& strKey, const std::vector<std::string>& values)
{
    std::string strArray = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        strArray += (i ? "," : "") + JsonString(values[i]);
    return AddRaw(strKey, strArray + "]");
}

CJsonObject& CJsonObject::Add(const std::string& strKey, long long nValue)
{
    return AddRaw(strKey, std::to_string(nValue));
}

CJsonObject& CJsonObject::Add(const std::string& strKey, double fValue)
{
    return AddRaw(strKey, JsonNumber(fValue));
}

CJsonObject& CJsonObject::AddRaw(const std::string& strKey, const std::string& strJson)
{
    Key(strKey);
    m_strBody += strJson;
    return *this;
}

} // namespace tarvek
