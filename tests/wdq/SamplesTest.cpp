#include "tests/support/COpenedRecording.h"
#include "wdq/CSampleStream.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvek::test {
namespace {

TEST(Samples, WordsDecodeToSignedFourteenBitValues)
{
    const std::pair<std::uint16_t, std::int16_t> cases[] = {
        {0x7FFF, 8191}, {0x7FFC, 8191}, {0x0004, 1},     {0x0003, 0},
        {0xFFFF, -1},   {0xFFFC, -1},   {0x8000, -8192}, {0x8001, -8192},
    };
    for (const auto& [nWord, nSample] : cases)
        EXPECT_EQ(DecodeSample(nWord), nSample) << nWord;

    std::uint8_t bytes[] = {0x01, 0x80, 0xFC, 0x7F, 0x00, 0x80};
    DecodeSampleWords(bytes, 3);
    const std::uint8_t expected[] = {0x00, 0xE0, 0xFF, 0x1F, 0x00, 0xE0};
    EXPECT_TRUE(std::equal(bytes, bytes + 6, expected));
}

struct SamplesPerFrameCase {
    float fRate;
    std::uint32_t nSamples;
    int nSamplesPerFrame;
    float fFrameRate;
};

TEST(Samples, SamplesPerFrameFollowTheRateOrTheLength)
{
    const SamplesPerFrameCase cases[] = {
        {1000, 10000, 20, 50.0f},
        {2400, 10000, 40, 60.0f},
        {600, 10000, 10, 60.0f},
        {500, 10000, 10, 50.0f},
        {550, 10000, 10, 55.0f},
        {240, 10000, 4, 60.0f},
        {100, 10000, 2, 50.0f},
        {40, 10000, 1, 40.0f},
        {1000, 327680, 20, 50.0f},
        {1000, 327681, 11, 1000.0f / 11},
        {1000, 351999, 11, 1000.0f / 11},
        // The nearest float to 83.33.. would make 1000 / rate fall just below 12.
        {1000, 352000, 12, std::nextafter(1000.0f / 12, 0.0f)},
        {1000, 1000000, 32, 1000.0f / 32},
        // More frames than the header's 16-bit count can hold: the length decides.
        {40, 100000, 4, 10.0f},
        {100, 131070, 2, 50.0f},
        {100, 131072, 5, 20.0f},
    };
    for (const SamplesPerFrameCase& c : cases) {
        CRecordingHost host;
        CCod cod(host);
        cod.m_nChannels = 1;
        cod.m_fSampleRate = c.fRate;
        cod.m_nSamples = c.nSamples;
        ASSERT_TRUE(cod.ChooseSamplesPerFrame());
        cod.ChooseFrameRate();
        EXPECT_EQ(cod.m_nSamplesPerFrame, c.nSamplesPerFrame) << c.fRate << " " << c.nSamples;
        EXPECT_EQ(cod.m_fFrameRate, c.fFrameRate) << c.fRate << " " << c.nSamples;
        EXPECT_LE(cod.GetFrameCount(), 65535u);
    }
}

TEST(Samples, FrameRateNeverMakesReadersTruncateSamplesPerFrame)
{
    // 1234 / 20 = 61.7, whose nearest float is just above it; a reader taking
    // 1234 / 61.7000008 = 19.99999997 would truncate it to 19.
    CRecordingHost host;
    CCod cod(host);
    cod.m_nChannels = 1;
    cod.m_fSampleRate = 1234;
    cod.m_nSamples = 10000;
    ASSERT_TRUE(cod.ChooseSamplesPerFrame());
    cod.ChooseFrameRate();
    EXPECT_EQ(cod.m_nSamplesPerFrame, 20);
    EXPECT_EQ(cod.m_fFrameRate, std::nextafter(61.7f, 0.0f));
    EXPECT_GE(1234.0 / cod.m_fFrameRate, 20.0);
    for (float fRate = 50; fRate < 20000; fRate += 1) {
        cod.m_fSampleRate = fRate;
        ASSERT_TRUE(cod.ChooseSamplesPerFrame());
        cod.ChooseFrameRate();
        ASSERT_EQ(static_cast<int>(fRate / static_cast<double>(cod.m_fFrameRate)), cod.m_nSamplesPerFrame)
            << fRate;
        ASSERT_LE(std::fabs(cod.m_fFrameRate - fRate / cod.m_nSamplesPerFrame), 1e-5 * cod.m_fFrameRate);
    }
}

TEST(Samples, RecordingsTooLargeForTheFormatAreRefused)
{
    struct Case {
        int nChannels;
        float fRate;
        std::uint32_t nSamples;
    };
    // 255 channels x 260 samples per frame, and a length needing 32768 per frame.
    for (const Case& c : {Case{255, 13000, 10000}, Case{1, 1000, 1048544000u}}) {
        CRecordingHost host;
        CCod cod(host);
        cod.m_nChannels = static_cast<std::int16_t>(c.nChannels);
        cod.m_fSampleRate = c.fRate;
        cod.m_nSamples = c.nSamples;
        EXPECT_FALSE(cod.ChooseSamplesPerFrame());
        ASSERT_EQ(host.m_messages.size(), 1u);
        EXPECT_EQ(host.m_messages[0].first, kMsgTooLarge);
        EXPECT_EQ(host.m_messages[0].second, EMessageIcon::Error);
    }
    CRecordingHost host;
    CCod cod(host);
    cod.m_nChannels = 1;
    cod.m_fSampleRate = 1000;
    cod.m_nSamples = 1048543999u;
    EXPECT_TRUE(cod.ChooseSamplesPerFrame());
    EXPECT_EQ(cod.m_nSamplesPerFrame, 32767);
}

TEST(Samples, AShortFileKeepsTheWholeInstantsItHolds)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 3;
    builder.m_words.assign(3 * 10 + 2, 0x0004); // ten whole instants and a part
    builder.m_nDataBytes = 3 * 2 * 500;
    COpenedRecording recording(builder);
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.m_cod.m_nSamples, 10u);
    EXPECT_EQ(
        recording.m_host.m_warnings,
        std::vector<std::string>{"The file holds 10 of the 500 samples per channel that its header gives"});
    EXPECT_TRUE(recording.m_host.m_messages.empty());
}

TEST(Samples, ARecordingWithoutSamplesIsRefused)
{
    for (const std::size_t nWords : {std::size_t{0}, std::size_t{1}}) {
        CWdqBuilder builder;
        builder.m_nHeaderSize = 2000;
        builder.m_nChannelByte = 2;
        builder.m_words.assign(nWords, 0);
        COpenedRecording recording(builder);
        EXPECT_FALSE(recording.m_bOpened);
        ASSERT_EQ(recording.m_host.m_messages.size(), 1u);
        EXPECT_EQ(recording.m_host.m_messages[0].first, kMsgNoSamples);
        EXPECT_EQ(recording.m_host.m_messages[0].second, EMessageIcon::Error);
        EXPECT_TRUE(recording.m_cod.m_params.empty());
        EXPECT_TRUE(recording.m_cod.m_groups.empty());
    }
}

} // namespace
} // namespace tarvek::test
