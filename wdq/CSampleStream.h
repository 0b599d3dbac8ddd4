#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvek {

// Bytes of sample words read and written per step of the data stream. Timed on a 512 MiB
// recording: 64 KiB chunks took a quarter longer than 1 MiB, the system calls adding up;
// from 256 KiB to 4 MiB the times were equal within the noise, and 8 MiB, beyond the
// processor's second-level cache, was slower again.
inline constexpr std::size_t kSampleChunkBytes = 1 << 20;

// A WDQ sample word is a 16-bit two's-complement value whose two low bits are not data:
// the sample is the word shifted right by 2 with its sign kept (-8192 to 8191).
inline std::int16_t DecodeSample(std::uint16_t nWord)
{
    return static_cast<std::int16_t>(static_cast<std::int16_t>(nWord) >> 2);
}

// Decodes little-endian sample words in place into little-endian 16-bit samples.
void DecodeSampleWords(std::uint8_t* pWords, std::size_t nWords);

} // namespace tarvek
