// Recordings at the sizes the format allows: data byte counts near 4 GiB, trailers past
// 2 and 4 GiB. The files are sparse: only the header, the trailer and a few marked sample
// words take room on disk, and the holes read as zero words.

#include "engine/CCod.h"
#include "engine/CConversionJob.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#define TARVEK_HAS_RUSAGE 1
#endif

namespace tarvek::test {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

struct CPiece {
    std::uint64_t m_nOffset;
    std::vector<std::uint8_t> m_bytes;
};

std::vector<std::uint8_t> Words(const std::vector<std::uint16_t>& words)
{
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t nWord : words) {
        bytes.push_back(static_cast<std::uint8_t>(nWord));
        bytes.push_back(static_cast<std::uint8_t>(nWord >> 8));
    }
    return bytes;
}

// A file of nLength bytes that holds only the pieces given.
void WriteSparse(const std::string& strPath, std::uint64_t nLength, const std::vector<CPiece>& pieces)
{
    std::ofstream(std::filesystem::u8path(strPath), std::ios::binary).close();
    std::filesystem::resize_file(std::filesystem::u8path(strPath), nLength);
    std::fstream file(std::filesystem::u8path(strPath), std::ios::in | std::ios::out | std::ios::binary);
    for (const CPiece& piece : pieces) {
        file.seekp(static_cast<std::streamoff>(piece.m_nOffset));
        file.write(reinterpret_cast<const char*>(piece.m_bytes.data()),
                   static_cast<std::streamsize>(piece.m_bytes.size()));
    }
    file.close();
    ASSERT_FALSE(file.fail()) << strPath;
    ASSERT_EQ(std::filesystem::file_size(std::filesystem::u8path(strPath)), nLength);
}

std::vector<std::uint8_t> ReadAt(const std::string& strPath, std::uint64_t nOffset, std::size_t nBytes)
{
    std::ifstream file(std::filesystem::u8path(strPath), std::ios::binary);
    file.seekg(static_cast<std::streamoff>(nOffset));
    std::vector<std::uint8_t> bytes(nBytes);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(nBytes));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

// A standard header of nChannels channels at 2000 per second, with nEventBytes of events
// between the samples and the annotations.
struct CLargeRecording {
    CWdqBuilder m_builder;
    std::uint32_t m_nEventBytes;

    std::vector<std::uint8_t> Header() const
    {
        std::vector<std::uint8_t> header = m_builder.BuildHeader();
        for (std::size_t i = 0; i < 4; ++i)
            header[12 + i] = static_cast<std::uint8_t>(m_nEventBytes >> (8 * i));
        return header;
    }
    std::uint64_t AnnotationOffset() const
    {
        return std::uint64_t{m_builder.m_nHeaderSize} + m_builder.DataBytes() + m_nEventBytes;
    }
};

CLargeRecording Recording(int nChannels, std::uint32_t nDataBytes, std::uint32_t nEventBytes,
                          const std::vector<std::string>& annotations)
{
    CLargeRecording recording{{}, nEventBytes};
    CWdqBuilder& builder = recording.m_builder;
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_nHeaderSize = static_cast<std::uint16_t>(110 + 36 * nChannels + 2);
    builder.m_fInterval = 1.0 / 2000;
    builder.m_nDataBytes = nDataBytes;
    builder.SetAnnotations(annotations);
    return recording;
}

// Header, a hole for the samples and the events, and the annotation area at its offset.
std::string WriteRecording(const CScratchDir& dir, const CLargeRecording& recording)
{
    const std::string strPath = dir.Path("large.wdq");
    const std::vector<std::uint8_t>& annotations = recording.m_builder.m_annotationArea;
    WriteSparse(strPath, recording.AnnotationOffset() + annotations.size(),
                {{0, recording.Header()}, {recording.AnnotationOffset(), annotations}});
    return strPath;
}

struct CTrailerCase {
    const char* m_pszWhat;
    int m_nChannels;
    std::uint32_t m_nDataBytes;
    std::uint32_t m_nEventBytes;
    std::uint64_t m_nTrailerOffset;
    std::uint32_t m_nSamples;
    int m_nSamplesPerFrame;
};

TEST(LargeRecording, AnnotationsPastTwoAndFourGiBAreRead)
{
    // Samples per frame n / 32000 + 1 for all of them; trailer = header size + data bytes.
    const CTrailerCase cases[] = {
        // 400 + 2281701376; n = 2281701376 / 16 = 142606336; 4456 + 1.
        {"past 2 GiB", 8, 2281701376u, 0, 2281701776u, 142606336u, 4457},
        // The same, its annotations 2415919104 event bytes further, at 4697620880.
        {"past 4 GiB", 8, 2281701376u, 0x90000000u, 2281701776u, 142606336u, 4457},
        // The largest 16 channels allow: n = 131039999, 4094 + 1, V = 65520; the trailer
        // at 688 + 4193279968 just below 4 GiB, the annotations at 4461716112.
        {"largest recording", 16, 4193279968u, 0x10000000u, 4193280656u, 131039999u, 4095},
    };
    for (const CTrailerCase& c : cases) {
        SCOPED_TRACE(c.m_pszWhat);
        CScratchDir dir;
        const CLargeRecording recording =
            Recording(c.m_nChannels, c.m_nDataBytes, c.m_nEventBytes, {"Left Quad", "", "Right Hamstring"});
        CRecordingHost host;
        CCod cod(host);
        cod.m_strSourcePath = WriteRecording(dir, recording);
        ASSERT_TRUE(cod.Open()) << ::testing::PrintToString(host.MessageTexts());
        EXPECT_EQ(cod.m_nTrailerOffset, c.m_nTrailerOffset);
        EXPECT_EQ(cod.m_nEventBytes, c.m_nEventBytes);
        EXPECT_EQ(cod.m_annotations, (std::vector<std::string>{"Left Quad", "", "Right Hamstring"}));
        EXPECT_EQ(cod.m_nSamples, c.m_nSamples);
        EXPECT_EQ(cod.m_nHeaderSamples, c.m_nSamples);
        EXPECT_EQ(cod.m_nSamplesPerFrame, c.m_nSamplesPerFrame);
        EXPECT_TRUE(host.m_messages.empty());
        EXPECT_TRUE(host.m_warnings.empty());
        cod.FreeAll();
    }
}

TEST(LargeRecording, DataByteCountNearFourGiBIsReadButTooLargeForC3d)
{
    // 0xFFFFFFFE data bytes of 8 channels: n = 268435455, samples per frame 8388 + 1, and
    // 8 x 8389 = 67112 values per frame do not fit in a C3D frame. The trailer lies at
    // 400 + 0xFFFFFFFE = 2^32 + 398, where a 32-bit offset would have wrapped to 398.
    CScratchDir dir;
    const CLargeRecording recording = Recording(8, 0xFFFFFFFEu, 0, {"Left Quad"});
    CRecordingHost host;
    CCod cod(host);
    cod.m_strSourcePath = WriteRecording(dir, recording);
    EXPECT_FALSE(cod.Open());
    EXPECT_EQ(host.m_messages, (std::vector<std::pair<std::string, EMessageIcon>>{
                                   {"The recording is too large for a C3D file", EMessageIcon::Error}}));
    EXPECT_TRUE(host.m_warnings.empty());
    EXPECT_EQ(cod.m_nTrailerOffset, 4294967694u);
    EXPECT_EQ(cod.m_annotations, std::vector<std::string>{"Left Quad"});
    EXPECT_EQ(cod.m_nSamples, 268435455u);
}

TEST(LargeRecording, FileCutShortOfFourGiBKeepsTheInstantsItHolds)
{
    // The header claims 0xFFFFFFFE bytes; the file holds 3 GiB of them and 5 bytes of an
    // instant that never finished: 3 GiB / 16 = 201326592 whole instants, 6291 + 1 samples
    // per frame, 8 x 6292 = 50336 values per frame. The trailer is past the end.
    CScratchDir dir;
    const CLargeRecording recording = Recording(8, 0xFFFFFFFEu, 0, {"Left Quad"});
    const std::string strPath = dir.Path("cut.wdq");
    WriteSparse(strPath, 400 + 3 * kGiB + 5, {{0, recording.Header()}});
    CRecordingHost host;
    CCod cod(host);
    cod.m_strSourcePath = strPath;
    ASSERT_TRUE(cod.Open());
    EXPECT_EQ(host.m_warnings,
              std::vector<std::string>{"The file holds 201326592 of the 268435455 samples per "
                                       "channel that its header gives"});
    EXPECT_TRUE(host.m_messages.empty());
    EXPECT_EQ(cod.m_nSamples, 201326592u);
    EXPECT_EQ(cod.m_nSamplesPerFrame, 6292);
    EXPECT_TRUE(cod.m_annotations.empty());
    cod.FreeAll();
}

long PeakResidentKiB()
{
#ifdef TARVEK_HAS_RUSAGE
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

TEST(LargeRecording, ConversionPastTwoGiBStreamsInBoundedMemory)
{
    // 8 channels without annotations: the parameter section ends at byte 1283, the data
    // starts in block 4 at byte 1536. 2281701376 data bytes give n = 142606336, samples
    // per frame 4456 + 1 = 4457, V = 35656, F = 31996 whole frames (164 instants left
    // over), so the target is 1536 + 2 x 35656 x 31996 = 2281700288 bytes long.
    constexpr std::uint64_t kTargetBytes = 2281700288u;
    CScratchDir dir;
    const std::filesystem::space_info space = std::filesystem::space(dir.m_path);
    if (space.available < kTargetBytes + kGiB)
        GTEST_SKIP() << "needs " << (kTargetBytes + kGiB) / kGiB << " GiB free in " << dir.m_path;

    const CLargeRecording recording = Recording(8, 2281701376u, 0, {});
    // Word k lies at 400 + 2k in the source and, in the target, at 1536 + 2k up to the
    // last word of the last whole frame, k = 31996 x 4457 x 8 - 1 = 1140849375.
    constexpr std::uint64_t kAtTwoGiB = (2 * kGiB - 400) / 2;
    constexpr std::uint64_t kLast = 1140849375;
    const std::string strSource = dir.Path("large.wdq");
    WriteSparse(strSource, 400 + 2281701376u,
                {{0, recording.Header()},
                 {400, Words({0x8001, 0x7FFC, 0x0007, 0xFFFF, 0x0004, 0xFFFC, 0x7FFF, 0x8000})},
                 {400 + 2 * kAtTwoGiB, Words({0x1234})},
                 {400 + 2 * kLast, Words({0xE001, 0x5555})}});

    CRecordingHost host;
    host.m_records.m_bBatchMode = true;
    CConversionJob job(host);
    const long nPeakBefore = PeakResidentKiB();
    EXPECT_TRUE(job.OnOpenDocument(strSource));
    const long nPeakAfter = PeakResidentKiB();
    ASSERT_EQ(host.m_records.m_records.size(), 1u);
    EXPECT_EQ(host.m_records.m_records[0].m_strResult, "Converted");
    EXPECT_TRUE(host.m_messages.empty());
    EXPECT_LT(nPeakAfter - nPeakBefore, 32 * 1024) << "KiB more at the peak than before the conversion";

    const std::string strTarget = dir.Path("large.c3d");
    ASSERT_EQ(std::filesystem::file_size(std::filesystem::u8path(strTarget)), kTargetBytes);
    // Word 3: V = 35656 (0x8B48); word 5: F = 31996 (0x7CFC); word 9: data start block 4;
    // word 10: 4457 (0x1169) samples per frame.
    const std::vector<std::uint8_t> header = ReadAt(strTarget, 0, 20);
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 4, header.begin() + 6),
              (std::vector<std::uint8_t>{0x48, 0x8B}));
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 8, header.begin() + 10),
              (std::vector<std::uint8_t>{0xFC, 0x7C}));
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 16, header.begin() + 20),
              (std::vector<std::uint8_t>{0x04, 0x00, 0x69, 0x11}));
    // -8192, 8191, 1, -1, 1, -1, 8191, -8192.
    EXPECT_EQ(ReadAt(strTarget, 1536, 16),
              (std::vector<std::uint8_t>{0x00, 0xE0, 0xFF, 0x1F, 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0xFF,
                                         0xFF, 0xFF, 0x1F, 0x00, 0xE0}));
    // 0x1234 >> 2 = 0x048D, at 1536 + 2 x 1073741624 = 2^31 + 1136.
    EXPECT_EQ(ReadAt(strTarget, 1536 + 2 * kAtTwoGiB, 2), (std::vector<std::uint8_t>{0x8D, 0x04}));
    // 0xE001 is -8191, which shifts to -2048 (0xF800): the target's last two bytes.
    EXPECT_EQ(ReadAt(strTarget, kTargetBytes - 4, 8), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0xF8}));
}

} // namespace
} // namespace tarvek::test
