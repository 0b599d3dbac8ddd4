// tarvek-fuzz-seeds: writes the fuzzer's seed corpus into a folder: every header variant,
// the channel, rate and sample-count thresholds of the conversion, and damaged files.

#include "tests/support/CWdqBuilder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

using tarvek::test::CWdqBuilder;

namespace {

std::filesystem::path g_folder;
int g_nWritten = 0;

void Write(const std::string &strName, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream file(g_folder / (strName + ".wdq"), std::ios::binary);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ++g_nWritten;
}

// A header just long enough for the channel entries, never the legacy size by accident.
std::uint16_t StandardHeaderSize(int nChannels)
{
    const auto nSize = static_cast<std::uint16_t>(110 + 36 * nChannels + 2);
    return nSize == 1156 ? 1158 : nSize;
}

CWdqBuilder Recording(int nChannels, double fRate, std::size_t nInstants)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = StandardHeaderSize(nChannels);
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_fInterval = 1.0 / fRate;
    const std::size_t nWords = nInstants * static_cast<std::size_t>(nChannels);
    for (std::size_t k = 0; k < nWords; ++k)
        builder.m_words.push_back(static_cast<std::uint16_t>(k * 2654435761u >> 13));
    for (int c = 0; c < nChannels; ++c)
        builder.m_calibration.push_back({10.0 / 8192 * (c + 1), -c});
    return builder;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t nSize)
{
    bytes.resize(nSize < bytes.size() ? nSize : bytes.size());
    return bytes;
}

void HeaderVariants()
{
    // Legacy: channels in the low five bits of byte 0.
    for (const std::uint8_t nByte : {0x01, 0x03, 0x3F, 0xE3, 0xE0}) {
        CWdqBuilder builder = Recording(nByte & 0x1F, 1000, 50);
        builder.m_nHeaderSize = 1156;
        builder.m_nChannelByte = nByte;
        Write("legacy-byte-" + std::to_string(nByte), builder.Build());
    }
    // Standard, on both sides of the legacy size and up to the large variant.
    for (const std::uint16_t nSize : {0, 24, 1155, 1157, 5296}) {
        CWdqBuilder builder = Recording(2, 1000, 60);
        builder.m_nHeaderSize = nSize;
        Write("standard-size-" + std::to_string(nSize), builder.Build());
    }
    // Large: the rate is (byte 1 + word 2) / channels.
    for (const std::uint16_t nSize : {5297, 65535}) {
        CWdqBuilder builder = Recording(4, 1000, 40);
        builder.m_nHeaderSize = nSize;
        builder.m_nRateAddend = 16;
        builder.m_nRateWord = 4000;
        Write("large-size-" + std::to_string(nSize), builder.Build());
    }
    CWdqBuilder noChannels = Recording(1, 1000, 10);
    noChannels.m_nHeaderSize = 6000;
    noChannels.m_nChannelByte = 0;
    noChannels.m_nRateWord = 1000;
    Write("large-no-channels", noChannels.Build());
    noChannels.m_nRateWord = 0;
    Write("large-no-channels-no-rate", noChannels.Build());
    for (const int nChannels : {1, 8, 31, 32, 33, 200, 255})
        Write("standard-" + std::to_string(nChannels) + "-channels", Recording(nChannels, 1000, 25).Build());
}

void RatesAndThresholds()
{
    // Samples per frame from the rate: the multiple-of-ten rule, the minimum of one, the
    // frame rate of uneven rates.
    for (const double fRate : {40.0, 100.0, 240.0, 500.0, 550.0, 600.0, 1234.0, 2400.0, 1638399.0})
        Write("rate-" + std::to_string(static_cast<long>(fRate)), Recording(1, fRate, 130).Build());
    const double fInfinity = std::numeric_limits<double>::infinity();
    const double fNaN = std::numeric_limits<double>::quiet_NaN();
    int nInterval = 0;
    for (const double fInterval : {0.0, -0.001, fInfinity, -fInfinity, fNaN, 1.0 / 1638400, 1e-300}) {
        CWdqBuilder builder = Recording(1, 1000, 30);
        builder.m_fInterval = fInterval;
        Write("interval-" + std::to_string(nInterval++), builder.Build());
    }
    // Sample counts around the chunk size, the large-recording rule and the frame limit.
    for (const std::size_t nInstants : {0, 1, 19, 20, 21, 1024, 1025})
        Write("samples-" + std::to_string(nInstants), Recording(1, 1000, nInstants).Build());
    Write("samples-327680", Recording(1, 1000, 327680).Build());
    Write("samples-327681", Recording(1, 1000, 327681).Build());
    Write("frames-65535-at-40", Recording(1, 40, 65535).Build());
    Write("frames-65536-at-40", Recording(1, 40, 65536).Build());
    // Values per frame beyond 65535 (255 channels at 260 per frame) and within (at 250).
    Write("too-many-values", Recording(255, 13000, 2).Build());
    Write("values-63750", Recording(255, 12800, 300).Build());
}

void Annotations()
{
    CWdqBuilder builder = Recording(3, 1000, 40);
    builder.SetAnnotations({"Left Quad", "", "right hamstring"});
    Write("annotations", builder.Build());
    builder.SetAnnotations({"Left Quad", "Right Quad", "Left Ham", "Right Ham", "Trigger"});
    Write("annotations-more-than-channels", builder.Build());
    builder.SetAnnotations({"AB"});
    builder.m_annotationArea.push_back('C');
    Write("annotation-unterminated", builder.Build());
    builder.SetAnnotations({std::string(300, 'x'), std::string(255, 'y')});
    Write("annotations-long", builder.Build());
    builder.m_events = {1, 2, 3, 4, 5, 6, 7};
    Write("events", builder.Build());

    CWdqBuilder wide = Recording(255, 100, 4);
    std::vector<std::string> annotations;
    for (int c = 0; c < 255; ++c)
        annotations.push_back(std::string(254, static_cast<char>('a' + c % 26)) + (c % 2 ? "L" : "R"));
    wide.SetAnnotations(annotations);
    Write("255-channels-255-characters", wide.Build());
}

void Damaged()
{
    const CWdqBuilder good = Recording(3, 1000, 100);
    const std::vector<std::uint8_t> bytes = good.Build();
    Write("empty", {});
    for (const std::size_t nSize : {1, 8, 17, 30, 36, 150, 300})
        Write("cut-" + std::to_string(nSize), Cut(bytes, nSize));
    Write("header-only", good.BuildHeader());
    Write("cut-mid-data", Cut(bytes, good.m_nHeaderSize + 301));

    CWdqBuilder claims = good;
    claims.m_nDataBytes = 400u << 20;
    Write("claims-400-MiB", claims.Build());
    claims.m_nDataBytes = 0xFFFFFFFF;
    Write("claims-4-GiB", claims.Build());
    CWdqBuilder odd = good;
    odd.m_nDataBytes = 2 * 3 * 100 - 1;
    Write("odd-data-bytes", odd.Build());

    CWdqBuilder annotation = good;
    annotation.SetAnnotations({"Left"});
    annotation.m_nAnnotationBytes = 65535;
    Write("annotation-claims-65535", annotation.Build());
    CWdqBuilder events = good;
    events.SetAnnotations({"Left"});
    events.m_events = {9};
    std::vector<std::uint8_t> eventBytes = events.Build();
    for (std::size_t i = 0; i < 4; ++i)
        eventBytes[12 + i] = 0xFF;
    Write("events-claim-4-GiB", eventBytes);

    CWdqBuilder calibration = good;
    const double fInfinity = std::numeric_limits<double>::infinity();
    calibration.m_calibration = {{std::nan(""), fInfinity}, {-fInfinity, std::nan("")}, {1e300, -1e300}};
    Write("calibration-not-finite", calibration.Build());
    calibration.m_calibration = {{1, 40000.7}, {1, -2147483649.0}, {1, 1e20}};
    Write("calibration-beyond-16-bits", calibration.Build());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: tarvek-fuzz-seeds FOLDER\n", stderr);
        return 2;
    }
    g_folder = argv[1];
    std::filesystem::create_directories(g_folder);
    HeaderVariants();
    RatesAndThresholds();
    Annotations();
    Damaged();
    std::printf("%d seeds in %s\n", g_nWritten, argv[1]);
    return 0;
}
