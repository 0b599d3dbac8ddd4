#pragma once

#include <cstdint>
#include <string>

namespace tarvek {

// One C3D parameter group.
class CGroup {
public:
    std::string m_strName;
    std::int32_t m_bLocked = 0;
    std::int32_t m_nId = 0; // negative for every group
    std::string m_strDescription;
};

} // namespace tarvek
