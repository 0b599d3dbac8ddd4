#pragma once

// Builds WDQ files byte by byte for tests, benchmarks, the fuzzer's seeds and the
// shipped sample recording.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvek::test {

class CWdqBuilder {
public:
    std::uint8_t m_nChannelByte = 1;
    std::uint8_t m_nRateAddend = 0;
    std::uint16_t m_nRateWord = 0;
    std::uint16_t m_nHeaderSize = 1156;
    double m_fInterval = 0.001;
    // Scale and offset of each channel's information entry; missing ones are 1 and 0.
    std::vector<std::pair<double, double>> m_calibration;
    // Sample words, instant by instant, channel by channel.
    std::vector<std::uint16_t> m_words;
    // Header fields that disagree with the data that follows, for damaged files.
    std::optional<std::uint32_t> m_nDataBytes;
    std::optional<std::uint16_t> m_nAnnotationBytes;
    std::vector<std::uint8_t> m_events;
    std::vector<std::uint8_t> m_annotationArea;

    int Channels() const { return m_nHeaderSize == 1156 ? (m_nChannelByte & 0x1F) : m_nChannelByte; }

    void SetAnnotations(const std::vector<std::string>& annotations)
    {
        m_annotationArea.clear();
        for (const std::string& str : annotations) {
            m_annotationArea.insert(m_annotationArea.end(), str.begin(), str.end());
            m_annotationArea.push_back(0);
        }
    }

    std::uint32_t DataBytes() const
    {
        return m_nDataBytes ? *m_nDataBytes : static_cast<std::uint32_t>(2 * m_words.size());
    }

    std::vector<std::uint8_t> BuildHeader() const
    {
        std::vector<std::uint8_t> bytes(m_nHeaderSize, 0);
        Put(bytes, 0, m_nChannelByte, 1);
        Put(bytes, 1, m_nRateAddend, 1);
        Put(bytes, 2, m_nRateWord, 2);
        Put(bytes, 6, m_nHeaderSize, 2);
        Put(bytes, 8, DataBytes(), 4);
        Put(bytes, 12, m_events.size(), 4);
        Put(bytes, 16, m_nAnnotationBytes ? *m_nAnnotationBytes : m_annotationArea.size(), 2);
        PutDouble(bytes, 28, m_fInterval);
        for (int c = 0; c < Channels(); ++c) {
            const auto n = static_cast<std::size_t>(c);
            const auto calibration = n < m_calibration.size() ? m_calibration[n] : std::make_pair(1.0, 0.0);
            PutDouble(bytes, 110 + 36 * n + 8, calibration.first);
            PutDouble(bytes, 110 + 36 * n + 16, calibration.second);
        }
        return bytes;
    }

    std::vector<std::uint8_t> Build() const
    {
        std::vector<std::uint8_t> bytes = BuildHeader();
        for (const std::uint16_t nWord : m_words) {
            bytes.push_back(static_cast<std::uint8_t>(nWord));
            bytes.push_back(static_cast<std::uint8_t>(nWord >> 8));
        }
        bytes.insert(bytes.end(), m_events.begin(), m_events.end());
        bytes.insert(bytes.end(), m_annotationArea.begin(), m_annotationArea.end());
        return bytes;
    }

private:
    // Fields that do not fit in a short header are left out.
    static void Put(std::vector<std::uint8_t>& bytes, std::size_t nOffset, std::uint64_t nValue,
                    std::size_t nSize)
    {
        for (std::size_t i = 0; i < nSize && nOffset + i < bytes.size(); ++i)
            bytes[nOffset + i] = static_cast<std::uint8_t>(nValue >> (8 * i));
    }
    static void PutDouble(std::vector<std::uint8_t>& bytes, std::size_t nOffset, double fValue)
    {
        std::uint64_t nBits;
        std::memcpy(&nBits, &fValue, sizeof nBits);
        Put(bytes, nOffset, nBits, 8);
    }
};

} // namespace tarvek::test
