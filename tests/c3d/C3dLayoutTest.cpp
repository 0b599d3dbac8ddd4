// The bytes of converted files, against layouts worked out by hand.

#include "engine/CConversionJob.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// "FA FF" as bytes.
Bytes Hex(const std::string& strHex)
{
    Bytes bytes;
    std::istringstream stream(strHex);
    unsigned nByte;
    while (stream >> std::hex >> nByte)
        bytes.push_back(static_cast<std::uint8_t>(nByte));
    return bytes;
}

Bytes Text(const std::string& str)
{
    return Bytes(str.begin(), str.end());
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes bytes;
    for (const Bytes& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

Bytes Slice(const Bytes& bytes, std::size_t nStart, std::size_t nLength)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(nStart),
                 bytes.begin() + static_cast<std::ptrdiff_t>(nStart + nLength));
}

// Converts the recording in batch mode and returns the target's bytes.
Bytes Convert(const CWdqBuilder& builder, CRecordingHost& host)
{
    CScratchDir dir;
    host.m_records.m_bBatchMode = true;
    const std::string strSource = dir.Write("trial.wdq", builder.Build());
    CConversionJob job(host);
    EXPECT_TRUE(job.OnOpenDocument(strSource));
    EXPECT_EQ(dir.List().size(), 2u) << "source and target, nothing else";
    return CScratchDir::Read(dir.Path("trial.c3d"));
}

CWdqBuilder Recording(int nChannels, double fRate, std::size_t nInstants)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_fInterval = 1.0 / fRate;
    builder.m_words.assign(nInstants * static_cast<std::size_t>(nChannels), 0);
    return builder;
}

TEST(C3dLayout, OneChannelAnnotatedLeftQuad)
{
    // 45 samples at 1000 per second: 20 per frame, 2 whole frames, 5 samples dropped.
    CWdqBuilder builder = Recording(1, 1000, 45);
    for (std::size_t s = 0; s < 45; ++s)
        builder.m_words[s] = static_cast<std::uint16_t>(4 * s + 3);
    builder.m_words[3] = 0x8000;
    builder.m_calibration = {{0.5, -3.0}};
    builder.SetAnnotations({"Left Quad"});
    CRecordingHost host;
    const Bytes file = Convert(builder, host);
    EXPECT_TRUE(host.m_messages.empty());

    ASSERT_EQ(file.size(), 1536u + 2 * 20 * 2);
    const Bytes header =
        Hex("02 50  00 00  14 00  01 00  02 00  00 00  00 00 80 3F  04 00  14 00  00 00 48 42");
    EXPECT_EQ(Slice(file, 0, 24), header);
    EXPECT_EQ(Slice(file, 24, 488), Bytes(488, 0));

    const Bytes section = Join({
        Hex("01 50 02 54"),
        Hex("FA FF"),
        Text("ANALOG"),
        Hex("14 00 11"),
        Text("Analog Parameters"),
        Hex("FB FE"),
        Text("POINT"),
        Hex("13 00 10"),
        Text("Point Parameters"),
        Hex("FD FD"),
        Text("EMG"),
        Hex("11 00 0E"),
        Text("EMG Parameters"),
        Hex("F7 01"),
        Text("GEN_SCALE"),
        Hex("1D 00 04 00 00 00 80 3F 14"),
        Text("General Scale Factor"),
        Hex("FC 01"),
        Text("USED"),
        Hex("25 00 02 00 01 00 1E"),
        Text("Number of analog channels used"),
        Hex("FB 01"),
        Text("SCALE"),
        Hex("1E 00 04 01 01 00 00 00 3F 14"),
        Text("Analog scale factors"),
        Hex("FA 01"),
        Text("OFFSET"),
        Hex("16 00 02 01 01 FD FF 0E"),
        Text("Analog Offsets"),
        Hex("05 01"),
        Text("UNITS"),
        Hex("14 00 FF 02 01 01"),
        Text("V"),
        Hex("0C"),
        Text("Analog units"),
        Hex("FA 01"),
        Text("LABELS"),
        Hex("19 00 FF 02 05 01"),
        Text("CH001"),
        Hex("0D"),
        Text("Analog labels"),
        Hex("F4 01"),
        Text("DESCRIPTIONS"),
        Hex("23 00 FF 02 09 01"),
        Text("Left Quad"),
        Hex("13"),
        Text("Analog descriptions"),
        Hex("FC 01"),
        Text("RATE"),
        Hex("22 00 04 00 00 00 7A 44 19"),
        Text("Analog Base Sampling Rate"),
        Hex("FC 01"),
        Text("BITS"),
        Hex("24 00 02 00 0C 00 1D"),
        Text("Analog Data Sample Resolution"),
        Hex("FA 01"),
        Text("FORMAT"),
        Hex("25 00 FF 02 0C 01"),
        Text("SIGNED      "),
        Hex("12"),
        Text("Analog Data format"),
        Hex("FC 03"),
        Text("TYPE"),
        Hex("13 00 01 01 01 00 0C"),
        Text("Channel Type"),
        Hex("FC 03"),
        Text("SIDE"),
        Hex("14 00 FF 02 01 01"),
        Text("L"),
        Hex("0C"),
        Text("Channel Side"),
        Hex("FC 02"),
        Text("RATE"),
        Hex("1C 00 04 00 00 00 48 42 13"),
        Text("Video sampling rate"),
        Hex("F6 02"),
        Text("Data_Start"),
        Hex("1E 00 02 00 04 00 17"),
        Text("Starting Record of Data"),
        Hex("00"),
    });
    ASSERT_EQ(512 + section.size(), 1106u);
    EXPECT_EQ(Slice(file, 512, section.size()), section);
    EXPECT_EQ(Slice(file, 1106, 1536 - 1106), Bytes(1536 - 1106, 0));

    // Samples 0 to 39 as decoded: s, but -8192 for the word 0x8000.
    Bytes data;
    for (int s = 0; s < 40; ++s) {
        const int nSample = s == 3 ? -8192 : s;
        data.push_back(static_cast<std::uint8_t>(nSample & 0xFF));
        data.push_back(static_cast<std::uint8_t>((nSample >> 8) & 0xFF));
    }
    EXPECT_EQ(Slice(file, 1536, 80), data);
    EXPECT_EQ(Slice(file, 1536 + 6, 2), Hex("00 E0"));
}

TEST(C3dLayout, EightChannelsWithoutAnnotationsEndTheSectionAt1283)
{
    CRecordingHost host;
    const Bytes file = Convert(Recording(8, 500, 10), host);
    // 10 per frame: word 3 is 80, word 5 one frame, word 10 ten.
    EXPECT_EQ(Slice(file, 4, 6), Hex("50 00 01 00 01 00"));
    EXPECT_EQ(Slice(file, 16, 4), Hex("04 00 0A 00"));
    EXPECT_EQ(file[514], 2);
    const Bytes dataStart = Join({Hex("F6 02"), Text("Data_Start"), Hex("1E 00 02 00 04 00 17"),
                                  Text("Starting Record of Data"), Hex("00")});
    EXPECT_EQ(Slice(file, 1283 - dataStart.size(), dataStart.size()), dataStart);
    EXPECT_EQ(file.size(), 1536u + 2 * 80);
}

TEST(C3dLayout, BlockArithmeticAtTheBoundary)
{
    // E = 1097 + 14 (n - 1) + n W for n channels whose longest description is W long.
    struct Case {
        int nChannels;
        std::size_t nWidth;
        std::size_t nEnd;
        std::uint8_t nBlocks;
        std::uint8_t nDataStart;
    };
    for (const Case& c : {Case{3, 137, 1536, 2, 4}, Case{2, 213, 1537, 3, 5}}) {
        CWdqBuilder builder = Recording(c.nChannels, 1000, 20);
        builder.SetAnnotations({std::string(c.nWidth, 'a')});
        CRecordingHost host;
        const Bytes file = Convert(builder, host);
        EXPECT_EQ(file[c.nEnd - 1], 0);
        EXPECT_EQ(Slice(file, c.nEnd - 24, 23), Text("Starting Record of Data"));
        EXPECT_EQ(file[514], c.nBlocks);
        EXPECT_EQ(file[16], c.nDataStart);
        EXPECT_EQ(file[17], 0);
        const std::size_t nData = 512u * (c.nDataStart - 1u);
        EXPECT_EQ(Slice(file, c.nEnd, nData - c.nEnd), Bytes(nData - c.nEnd, 0));
        EXPECT_EQ(file.size(), nData + 2u * 20 * static_cast<std::size_t>(c.nChannels));
    }
}

TEST(C3dLayout, FramesInterleaveChannelsInstantByInstant)
{
    // 150 per second gives 3 samples per frame; 7 samples per channel give 2 frames.
    CWdqBuilder builder = Recording(2, 150, 7);
    for (std::size_t s = 0; s < 7; ++s) {
        builder.m_words[2 * s] = static_cast<std::uint16_t>(4 * (10 + s));
        builder.m_words[2 * s + 1] = static_cast<std::uint16_t>(4 * (20 + s));
    }
    CRecordingHost host;
    const Bytes file = Convert(builder, host);
    EXPECT_EQ(Slice(file, 4, 6), Hex("06 00 01 00 02 00"));
    EXPECT_EQ(Slice(file, 18, 2), Hex("03 00"));
    const std::size_t nData = 512u * (file[16] - 1u);
    ASSERT_EQ(file.size(), nData + 2 * 6 * 2);
    EXPECT_EQ(Slice(file, nData, 24),
              Hex("0A 00 14 00 0B 00 15 00 0C 00 16 00  0D 00 17 00 0E 00 18 00 0F 00 19 00"));
}

TEST(C3dLayout, NoWholeFrameStillFillsTheCountedBlocks)
{
    CRecordingHost host;
    const Bytes file = Convert(Recording(1, 1000, 19), host);
    EXPECT_EQ(Slice(file, 8, 2), Hex("00 00"));
    EXPECT_EQ(Slice(file, 6, 2), Hex("01 00"));
    EXPECT_EQ(file.size(), 512u * (file[16] - 1u));
    EXPECT_EQ(file.size(), 512u * (1u + file[514]));
}

TEST(C3dLayout, FrameRateOfAnUnevenRateIsTheFloatBelowTheQuotient)
{
    CRecordingHost host;
    const Bytes file = Convert(Recording(1, 1234, 40), host);
    // 1234 / 20 = 61.7; the float just below it is 0x4276CCCC.
    EXPECT_EQ(Slice(file, 20, 4), Hex("CC CC 76 42"));
    const Bytes pointRate = Join({Hex("FC 02"), Text("RATE"), Hex("1C 00 04 00 CC CC 76 42 13")});
    const auto it = std::search(file.begin(), file.end(), pointRate.begin(), pointRate.end());
    EXPECT_NE(it, file.end());
}

} // namespace
} // namespace tarvek::test
