#pragma once

#include <cstddef>

namespace tarvek::test {

// Measures the most memory held at once through operator new between its construction
// and Peak(): shows that a file's claims do not turn into allocations.
class CAllocationMeter {
public:
    CAllocationMeter();
    // Bytes held at the highest point above what was held at construction.
    std::size_t Peak() const;

private:
    std::size_t m_nStart;
};

} // namespace tarvek::test
