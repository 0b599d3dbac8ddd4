#pragma once

#include <string>
#include <vector>

namespace tarvek {

// Builds one JSON object, key by key, in insertion order.
class CJsonObject {
public:
    CJsonObject& Add(const std::string& strKey, const std::string& strValue);
    CJsonObject& Add(const std::string& strKey, const char* pszValue);
    CJsonObject& Add(const std::string& strKey, const std::vector<std::string>& values);
    CJsonObject& Add(const std::string& strKey, long long nValue);
    CJsonObject& Add(const std::string& strKey, double fValue);
    CJsonObject& AddRaw(const std::string& strKey, const std::string& strJson);
    std::string ToString() const { return "{" + m_strBody + "}"; }

private:
    void Key(const std::string& strKey);
    std::string m_strBody;
};

// A JSON string literal. Bytes that are not UTF-8 are taken as Latin-1, so paths and
// annotations in any 8-bit code page still give valid JSON.
std::string JsonString(const std::string& str);

// The shortest decimal that reads back as the same float; null for NaN and infinities.
std::string JsonNumber(double fValue);

} // namespace tarvek
