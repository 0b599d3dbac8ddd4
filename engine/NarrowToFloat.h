#pragma once

#include <cmath>

namespace tarvek {

// Rounds to the nearest float; values beyond the float range become infinities instead of
// an undefined conversion.
inline float NarrowToFloat(double fValue)
{
    constexpr double kMaxFloat = 3.4028234663852886e38;
    if (fValue > kMaxFloat)
        return HUGE_VALF;
    if (fValue < -kMaxFloat)
        return -HUGE_VALF;
    return static_cast<float>(fValue);
}

} // namespace tarvek
