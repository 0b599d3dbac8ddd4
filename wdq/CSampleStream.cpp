#include "wdq/CSampleStream.h"

namespace tarvek {

void DecodeSampleWords(std::uint8_t *pWords, std::size_t nWords)
{
    for (std::size_t i = 0; i < nWords; ++i, pWords += 2) {
        const auto nSample = static_cast<std::uint16_t>(
            DecodeSample(static_cast<std::uint16_t>(pWords[0] | (pWords[1] << 8))));
        pWords[0] = static_cast<std::uint8_t>(nSample);
        pWords[1] = static_cast<std::uint8_t>(nSample >> 8);
    }
}

} // namespace tarvek
