#include "tests/support/COpenedRecording.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tarvek::test {
namespace {

// One instant of samples per channel, so that a good header opens.
CWdqBuilder Header(std::uint16_t nHeaderSize, std::uint8_t nChannelByte, double fInterval)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = nHeaderSize;
    builder.m_nChannelByte = nChannelByte;
    builder.m_fInterval = fInterval;
    builder.m_words.assign(static_cast<std::size_t>(builder.Channels() > 0 ? builder.Channels() : 1), 0);
    return builder;
}

TEST(Header, SizeSelectsTheVariant)
{
    // Channel byte 0x23 holds 3 channels in its low five bits, 35 as a whole; the large
    // variant takes its rate from bytes 1 to 3 and ignores the interval.
    struct Case {
        std::uint16_t nHeaderSize;
        int nChannels;
        float fRate;
    };
    const Case cases[] = {
        {1156, 3, 1000},  {1155, 35, 1000},   {1157, 35, 1000},
        {5296, 35, 1000}, {5297, 35, 100.0f}, {65535, 35, 100.0f},
    };
    for (const Case& c : cases) {
        CWdqBuilder builder = Header(c.nHeaderSize, 0x23, 0.001);
        builder.m_nRateWord = 3500;
        COpenedRecording recording(builder);
        ASSERT_TRUE(recording.m_bOpened) << c.nHeaderSize;
        EXPECT_EQ(recording.m_cod.m_bExtendedHeader, c.nHeaderSize != 1156);
        EXPECT_EQ(recording.m_cod.m_nChannels, c.nChannels) << c.nHeaderSize;
        EXPECT_EQ(recording.m_cod.m_fSampleRate, c.fRate) << c.nHeaderSize;
    }
}

TEST(Header, ChannelCountAndRate)
{
    struct Case {
        std::uint16_t nHeaderSize;
        std::uint8_t nChannelByte;
        double fInterval;
        int nChannels;
        float fRate;
    };
    const Case cases[] = {
        {1156, 0x3F, 0.001, 31, 1000},
        {1156, 0xE3, 0.0005, 3, 2000},
        {2000, 200, 0.001, 200, 1000},
        {2000, 255, 0.004, 255, 250},
    };
    for (const Case& c : cases) {
        COpenedRecording recording(Header(c.nHeaderSize, c.nChannelByte, c.fInterval));
        ASSERT_TRUE(recording.m_bOpened);
        EXPECT_EQ(recording.m_cod.m_nChannels, c.nChannels);
        EXPECT_EQ(recording.m_cod.m_fSampleRate, c.fRate);
    }
}

TEST(Header, LargeVariantAddsByteOneToTheRateWord)
{
    struct Case {
        std::uint8_t nAddend;
        std::uint16_t nWord;
        float fRate;
    };
    for (const Case& c : {Case{0, 4000, 1000}, Case{16, 4000, 1004}}) {
        CWdqBuilder builder = Header(6000, 4, 1.0);
        builder.m_nRateAddend = c.nAddend;
        builder.m_nRateWord = c.nWord;
        COpenedRecording recording(builder);
        ASSERT_TRUE(recording.m_bOpened);
        EXPECT_EQ(recording.m_cod.m_fSampleRate, c.fRate);
    }
}

TEST(Header, RejectedHeadersShowTheirMessageWithTheErrorIcon)
{
    const double fInf = std::numeric_limits<double>::infinity();
    const double fNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* pszWhat;
        std::uint16_t nHeaderSize;
        std::uint8_t nChannelByte;
        std::uint8_t nAddend;
        std::uint16_t nWord;
        double fInterval;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"legacy, no channel bits", 1156, 0xE0, 0, 0, 0.001, kMsgNoChannelsLegacy},
        {"legacy tests channels before the rate", 1156, 0x00, 0, 0, -0.001, kMsgNoChannelsLegacy},
        {"standard tests the rate first", 2000, 0, 0, 0, -0.001, kMsgSamplingRate},
        {"standard, no channels", 2000, 0, 0, 0, 0.001, kMsgNoChannels},
        {"negative interval", 2000, 2, 0, 0, -0.001, kMsgSamplingRate},
        {"NaN interval", 2000, 2, 0, 0, fNaN, kMsgSamplingRate},
        {"zero interval: infinite rate", 2000, 2, 0, 0, 0.0, kMsgSamplingRate},
        {"infinite interval: zero rate", 2000, 2, 0, 0, fInf, kMsgSamplingRate},
        {"rate of 1638400", 2000, 1, 0, 0, 1.0 / 1638400, kMsgSamplingRate},
        {"tiny interval: rate beyond a float", 2000, 1, 0, 0, 1e-300, kMsgSamplingRate},
        {"large, nothing at all", 6000, 0, 0, 0, 0.001, kMsgSamplingRate},
        {"large, no channels but a rate", 6000, 0, 0, 1000, 0.001, kMsgNoChannels},
        {"large, zero rate", 6000, 3, 0, 0, 0.001, kMsgSamplingRate},
    };
    for (const Case& c : cases) {
        CWdqBuilder builder = Header(c.nHeaderSize, c.nChannelByte, c.fInterval);
        builder.m_nRateAddend = c.nAddend;
        builder.m_nRateWord = c.nWord;
        COpenedRecording recording(builder);
        EXPECT_FALSE(recording.m_bOpened) << c.pszWhat;
        ASSERT_EQ(recording.m_host.m_messages.size(), 1u) << c.pszWhat;
        EXPECT_EQ(recording.m_host.m_messages[0].first, c.pszMessage) << c.pszWhat;
        EXPECT_EQ(recording.m_host.m_messages[0].second, EMessageIcon::Error) << c.pszWhat;
        EXPECT_TRUE(recording.m_cod.m_params.empty()) << c.pszWhat;
        EXPECT_FALSE(recording.m_cod.m_bBuffersAllocated) << c.pszWhat;
    }
}

TEST(Header, JustBelowTheRateLimitIsAccepted)
{
    // The largest float below the limit.
    COpenedRecording recording(Header(2000, 1, 1.0 / 1638399.875));
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.m_cod.m_nSamplesPerFrame, 32760);
}

TEST(Header, SampleCountDropsTheRemainderOfTheDataBytes)
{
    CWdqBuilder builder = Header(2000, 3, 0.001);
    builder.m_words.assign(2001, 0);
    builder.m_nDataBytes = 4001;
    COpenedRecording recording(builder);
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.m_cod.m_nSamples, 666u);
    EXPECT_TRUE(recording.m_host.m_warnings.empty());
}

} // namespace
} // namespace tarvek::test
