#include "wdq/CSampleStream.h"

#include <bit>
#include <cstring>

namespace tarvek {

namespace {

void DecodeWord(std::uint8_t* pWord)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::int16_t nWord;
        std::memcpy(&nWord, pWord, sizeof nWord);
        const auto nSample = static_cast<std::int16_t>(nWord >> 2);
        std::memcpy(pWord, &nSample, sizeof nSample);
    } else {
        const auto nSample =
            static_cast<std::uint16_t>(DecodeSample(static_cast<std::uint16_t>(pWord[0] | (pWord[1] << 8))));
        pWord[0] = static_cast<std::uint8_t>(nSample);
        pWord[1] = static_cast<std::uint8_t>(nSample >> 8);
    }
}

} // namespace

void DecodeSampleWords(std::uint8_t* pWords, std::size_t nWords)
{
    // Groups of a fixed size let the compiler decode them with vector shifts also at -O2;
    // word by word, decoding took longer than the reads and writes of the whole stream.
    constexpr std::size_t kGroup = 16;
    std::size_t i = 0;
    for (; i + kGroup <= nWords; i += kGroup, pWords += 2 * kGroup)
        for (std::size_t j = 0; j < kGroup; ++j)
            DecodeWord(pWords + 2 * j);
    for (; i < nWords; ++i, pWords += 2)
        DecodeWord(pWords);
}

} // namespace tarvek
