// tarvek-mkwdq: writes a synthetic WDQ recording of EMG-like channels, for the shipped
// sample, demonstrations and benchmarks.

#include "tests/support/CWdqBuilder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: tarvek-mkwdq OUT.wdq [--channels N] [--rate R] [--seconds S] [--annotate A,B,...]\n";

std::vector<std::string> SplitList(const std::string& str)
{
    std::vector<std::string> parts;
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nComma = str.find(',', nStart);
        parts.push_back(str.substr(nStart, nComma - nStart));
        if (nComma == std::string::npos)
            return parts;
        nStart = nComma + 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    int nChannels = 4;
    double fRate = 1000;
    double fSeconds = 2;
    std::vector<std::string> annotations;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string strOption = argv[i];
        if (strOption == "--channels")
            nChannels = std::atoi(argv[i + 1]);
        else if (strOption == "--rate")
            fRate = std::atof(argv[i + 1]);
        else if (strOption == "--seconds")
            fSeconds = std::atof(argv[i + 1]);
        else if (strOption == "--annotate")
            annotations = SplitList(argv[i + 1]);
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (nChannels < 1 || nChannels > 255 || fRate <= 0 || fSeconds < 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    tarvek::test::CWdqBuilder builder;
    builder.m_nHeaderSize = static_cast<std::uint16_t>(110 + 36 * nChannels + 2);
    if (builder.m_nHeaderSize == 1156)
        builder.m_nHeaderSize += 2;
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_fInterval = 1.0 / fRate;
    builder.SetAnnotations(annotations);
    const auto nSamples = static_cast<std::size_t>(fRate * fSeconds);
    for (int c = 0; c < nChannels; ++c)
        builder.m_calibration.push_back({10.0 / 8192, 0});
    // Bursts of activity on a small baseline, each channel at its own pace; the two low
    // bits of each word are not data and stay zero.
    unsigned nNoise = 12345;
    builder.m_words.reserve(nSamples * static_cast<std::size_t>(nChannels));
    for (std::size_t s = 0; s < nSamples; ++s) {
        const double t = static_cast<double>(s) / fRate;
        for (int c = 0; c < nChannels; ++c) {
            nNoise = nNoise * 1103515245u + 12345u;
            const double fNoise = static_cast<double>((nNoise >> 16) & 0x3FF) / 1024.0 - 0.5;
            const double fEnvelope = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * (0.5 + 0.2 * c) * t);
            const double fValue = 6000 * fEnvelope * fNoise + 40 * std::sin(2 * std::numbers::pi * 50 * t);
            const auto nSample = static_cast<int>(std::lround(fValue));
            builder.m_words.push_back(static_cast<std::uint16_t>(nSample * 4));
        }
    }
    const std::vector<std::uint8_t> bytes = builder.Build();
    std::FILE* pFile = std::fopen(argv[1], "wb");
    if (!pFile || std::fwrite(bytes.data(), 1, bytes.size(), pFile) != bytes.size() ||
        std::fclose(pFile) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
