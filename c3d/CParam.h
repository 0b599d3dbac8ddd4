#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvek {

// One C3D parameter. Numeric values sit one per 4-byte slot whatever the type, held as
// the little-endian bytes the file receives: a byte
// value in the slot's first byte, a 16-bit value in its first two (little-endian), a
// float in all four. The writer reads only the value's own bytes.
class CParam {
public:
    enum EType : std::int16_t { kChar = -1, kByte = 1, kInt16 = 2, kFloat = 4 };
    using Slot = std::array<std::uint8_t, 4>;

    // Stores one numeric value: truncated toward zero and cut to the low 8 or 16 bits
    // for the integer types, unchanged for floats. NaN and infinities store 0. A
    // character parameter or an index out of range is left alone.
    void SetValue(int nIndex, float fValue);

    // Reads back what a slot holds, by type.
    std::int32_t GetInteger(int nIndex) const;
    float GetFloat(int nIndex) const;

    std::string m_strName;
    std::int32_t m_bLocked = 0;
    std::int32_t m_nGroupId = 0; // absolute value of the owning group's id
    std::string m_strDescription;
    std::int16_t m_nType = 0;
    std::vector<Slot> m_pValues;
    std::vector<std::string> m_strings;
    std::uint8_t m_nDims = 0;
    std::vector<std::uint8_t> m_pDims;
    std::int16_t m_nValues = 0;
};

} // namespace tarvek
