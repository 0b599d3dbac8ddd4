// Sources that are damaged, that claim far more than they hold, that are not files at all
// or that change while they are read. Each is converted on the real disk; none may crash,
// hang, allocate what its header claims, or leave anything in its folder but its target.

#include "engine/CConversionJob.h"
#include "tests/hostile/CAllocationMeter.h"
#include "tests/support/CC3dReader.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Far above the 1 MiB chunk of the data stream and the few KiB of a parameter set, far
// below anything a header's claims would need.
constexpr std::size_t kMemoryBound = 4u << 20;

CWdqBuilder Recording(int nChannels, double fRate, std::size_t nInstants)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_fInterval = 1.0 / fRate;
    builder.m_words.resize(nInstants * static_cast<std::size_t>(nChannels));
    for (std::size_t k = 0; k < builder.m_words.size(); ++k)
        builder.m_words[k] = static_cast<std::uint16_t>(4 * k + 1);
    return builder;
}

// Sample k of Recording, as decoded.
std::int16_t RecordedSample(std::size_t k)
{
    return static_cast<std::int16_t>(static_cast<std::int16_t>(static_cast<std::uint16_t>(4 * k + 1)) >> 2);
}

Bytes Cut(Bytes bytes, std::size_t nSize)
{
    bytes.resize(nSize);
    return bytes;
}

Texts Sorted(Texts texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string Padded(std::string str, std::size_t nWidth)
{
    str.resize(nWidth, ' ');
    return str;
}

class Hostile : public ::testing::Test {
protected:
    Hostile() { m_host.m_records.m_bBatchMode = true; }

    std::string Convert(const Bytes &source, CFileSystem &fileSystem = GetDiskFileSystem())
    {
        const std::string strSource = m_dir.Write("trial.wdq", source);
        CConversionJob job(m_host, fileSystem);
        const CAllocationMeter meter;
        job.OnOpenDocument(strSource);
        m_nPeak = meter.Peak();
        EXPECT_EQ(m_host.m_nWaitDepth, 0);
        if (!m_bSourceChanges) {
            EXPECT_EQ(CScratchDir::Read(strSource), source) << "the source is never written";
        }
        return m_host.m_records.m_records.at(0).m_strResult;
    }

    // A converted target, read back by an independent reader.
    CC3dReader Target() const
    {
        EXPECT_EQ(Sorted(m_dir.List()), Sorted({"trial.wdq", "trial.c3d"}));
        CC3dReader reader(CScratchDir::Read(m_dir.Path("trial.c3d")));
        EXPECT_EQ(reader.m_strError, "");
        return reader;
    }

    CScratchDir m_dir;
    CRecordingHost m_host;
    std::size_t m_nPeak = 0;
    bool m_bSourceChanges = false;
};

struct SRefusal {
    const char *m_pszName;
    std::function<Bytes()> m_source;
    Texts m_messages; // the stages' own, before the job's
    Texts m_warnings;
};

void PrintTo(const SRefusal &c, std::ostream *pStream)
{
    *pStream << c.m_pszName;
}

class RefusedSource : public Hostile, public ::testing::WithParamInterface<SRefusal> {};

TEST_P(RefusedSource, IsReportedAndWritesNothing)
{
    const SRefusal &c = GetParam();
    EXPECT_EQ(Convert(c.m_source()), kResultCouldNotOpen);
    Texts expected = c.m_messages;
    expected.push_back("Could not open file " + m_dir.Path("trial.wdq"));
    EXPECT_EQ(m_host.MessageTexts(), expected);
    EXPECT_EQ(m_host.m_warnings, c.m_warnings);
    EXPECT_EQ(m_dir.List(), Texts{"trial.wdq"});
    EXPECT_LT(m_nPeak, kMemoryBound);
}

CWdqBuilder WithInterval(double fInterval)
{
    CWdqBuilder builder = Recording(2, 1000, 50);
    builder.m_fInterval = fInterval;
    return builder;
}

const Texts kRate = {"Error in Sampling Rate"};
const Texts kNoSamples = {"No samples found in file"};

INSTANTIATE_TEST_SUITE_P(
    Disk, RefusedSource,
    ::testing::Values(
        // Everything reads as zero: no channels; the zero interval's infinite rate passes
        // the first test, so the channel message comes first.
        SRefusal{"EmptyFile", [] { return Bytes{}; }, {"Did not find channels in file"}, {}},
        // Only two bytes of the interval: a subnormal double whose reciprocal is infinite.
        SRefusal{"CutInsideTheInterval", [] { return Cut(Recording(3, 1000, 10).Build(), 30); }, kRate, {}},
        SRefusal{"HeaderOnly", [] { return Recording(3, 1000, 0).Build(); }, kNoSamples, {}},
        SRefusal{"HeaderOnlyClaimingData",
                 [] {
                     CWdqBuilder builder = Recording(3, 1000, 100);
                     return builder.BuildHeader();
                 },
                 kNoSamples,
                 {"The file holds 0 of the 100 samples per channel that its header gives"}},
        SRefusal{"HeaderLongerThanTheFile",
                 [] {
                     CWdqBuilder builder = Recording(3, 1000, 100);
                     builder.m_nHeaderSize = 65535;
                     builder.m_nRateWord = 3000;
                     return Cut(builder.Build(), 5000);
                 },
                 kNoSamples,
                 {"The file holds 0 of the 100 samples per channel that its header gives"}},
        SRefusal{"NaNInterval", [] { return WithInterval(std::nan("")).Build(); }, kRate, {}},
        SRefusal{"InfiniteInterval", [] { return WithInterval(kInfinity).Build(); }, kRate, {}},
        SRefusal{"MinusInfiniteInterval", [] { return WithInterval(-kInfinity).Build(); }, kRate, {}},
        SRefusal{"ZeroInterval", [] { return WithInterval(0.0).Build(); }, kRate, {}},
        SRefusal{"MinusZeroInterval", [] { return WithInterval(-0.0).Build(); }, kRate, {}},
        SRefusal{"RateOf1638400", [] { return WithInterval(1.0 / 1638400).Build(); }, kRate, {}},
        // Found by the fuzzer: a positive rate that is zero as a float made a target whose
        // sample and frame rates were 0.
        SRefusal{"RateTooSmallForAFloat", [] { return WithInterval(1e66).Build(); }, kRate, {}},
        // 255 channels of 260 samples per frame: 66300 values per frame.
        SRefusal{"TooManyValuesPerFrame",
                 [] { return Recording(255, 13000, 2).Build(); },
                 {"The recording is too large for a C3D file"},
                 {}}),
    [](const ::testing::TestParamInfo<SRefusal> &info) { return std::string(info.param.m_pszName); });

TEST_F(Hostile, AHeaderClaimingGigabytesConvertsWhatTheFileHolds)
{
    for (const std::uint32_t nDataBytes : {400u << 20, 0xFFFFFFFFu}) {
        SCOPED_TRACE(nDataBytes);
        m_host = CRecordingHost();
        m_host.m_records.m_bBatchMode = true;
        CWdqBuilder builder = Recording(3, 1000, 100);
        builder.m_nDataBytes = nDataBytes;
        EXPECT_EQ(Convert(builder.Build()), kResultConverted);
        EXPECT_LT(m_nPeak, kMemoryBound);
        EXPECT_EQ(m_host.m_warnings, Texts{"The file holds 100 of the " + std::to_string(nDataBytes / 6) +
                                           " samples per channel that its header gives"});
        const CC3dReader c3d = Target();
        ASSERT_EQ(c3d.m_strError, "");
        EXPECT_EQ(c3d.Word(5), 5); // 100 samples at 20 per frame
        for (std::size_t k = 0; k < 300; ++k)
            ASSERT_EQ(c3d.Value(0, k), RecordedSample(k)) << k;
    }
}

TEST_F(Hostile, TrailerAreasBeyondTheEndGiveOnlyTheBytesThatExist)
{
    struct Case {
        const char *m_pszName;
        std::uint16_t m_nAnnotationBytes;
        std::uint32_t m_nEventBytes;
        Texts m_descriptions;
    };
    for (const Case &c : {Case{"annotations claim 65535", 65535, 0, {"Left Quad", "Channel 002"}},
                          Case{"events claim 4 GiB", 10, 0xFFFFFFFF, {"Channel 001", "Channel 002"}}}) {
        SCOPED_TRACE(c.m_pszName);
        m_host = CRecordingHost();
        m_host.m_records.m_bBatchMode = true;
        CWdqBuilder builder = Recording(2, 1000, 40);
        builder.SetAnnotations({"Left Quad"});
        builder.m_nAnnotationBytes = c.m_nAnnotationBytes;
        Bytes bytes = builder.Build();
        for (std::size_t i = 0; i < 4; ++i)
            bytes[12 + i] = static_cast<std::uint8_t>(c.m_nEventBytes >> (8 * i));
        EXPECT_EQ(Convert(bytes), kResultConverted);
        EXPECT_TRUE(m_host.m_messages.empty());
        EXPECT_LT(m_nPeak, kMemoryBound);
        const CC3dReader c3d = Target();
        ASSERT_EQ(c3d.m_strError, "");
        const Texts descriptions = c3d.Strings("ANALOG", "DESCRIPTIONS");
        const std::size_t nWidth = c3d.Find("ANALOG", "DESCRIPTIONS")->m_dims.at(0);
        ASSERT_EQ(descriptions.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i)
            EXPECT_EQ(descriptions[i], Padded(c.m_descriptions[i], nWidth));
    }
}

TEST_F(Hostile, TheWidestRecordingKeepsEveryRecordReadable)
{
    // 255 channels, each annotated with 255 characters; the first with 300, cut to 255.
    CWdqBuilder builder = Recording(255, 1000, 40);
    Texts annotations;
    for (int c = 0; c < 255; ++c)
        annotations.push_back((c % 2 ? "left " : "right ") +
                              std::string(300, static_cast<char>('a' + c % 26)));
    for (int c = 1; c < 255; ++c)
        annotations[static_cast<std::size_t>(c)].resize(255);
    builder.SetAnnotations(annotations);
    EXPECT_EQ(Convert(builder.Build()), kResultConverted);
    EXPECT_TRUE(m_host.m_messages.empty());

    const CC3dReader c3d = Target();
    ASSERT_EQ(c3d.m_strError, "");
    EXPECT_EQ(c3d.Word(3), 255 * 20);
    EXPECT_EQ(c3d.Word(5), 2);
    EXPECT_EQ(c3d.Int16("ANALOG", "USED"), 255);
    EXPECT_EQ(c3d.Find("ANALOG", "DESCRIPTIONS")->m_dims, (std::vector<std::uint8_t>{255, 255}));
    const Texts descriptions = c3d.Strings("ANALOG", "DESCRIPTIONS");
    const Texts labels = c3d.Strings("ANALOG", "LABELS");
    const Texts sides = c3d.Strings("EMG", "SIDE");
    ASSERT_EQ(descriptions.size(), 255u);
    ASSERT_EQ(labels.size(), 255u);
    ASSERT_EQ(sides.size(), 255u);
    for (std::size_t c = 0; c < 255; ++c) {
        EXPECT_EQ(descriptions[c], annotations[c].substr(0, 255));
        EXPECT_EQ(sides[c], c % 2 ? "L" : "R");
    }
    EXPECT_EQ(labels[254], "CH255");
    for (std::size_t k = 0; k < 2 * 255 * 20; ++k)
        ASSERT_EQ(c3d.Value(0, k), RecordedSample(k)) << k;
}

TEST_F(Hostile, CalibrationThatIsNotANumberStillConverts)
{
    CWdqBuilder builder = Recording(4, 1000, 40);
    builder.m_calibration = {
        {std::nan(""), kInfinity}, {kInfinity, std::nan("")}, {-kInfinity, -kInfinity}, {1e300, -1e300}};
    EXPECT_EQ(Convert(builder.Build()), kResultConverted);
    EXPECT_TRUE(m_host.m_messages.empty());
    const CC3dReader c3d = Target();
    ASSERT_EQ(c3d.m_strError, "");
    // Scales are floats and keep what the source says; a 16-bit offset has no such value.
    EXPECT_TRUE(std::isnan(c3d.Float("ANALOG", "SCALE", 0)));
    EXPECT_EQ(c3d.Float("ANALOG", "SCALE", 1), HUGE_VALF);
    EXPECT_EQ(c3d.Float("ANALOG", "SCALE", 2), -HUGE_VALF);
    EXPECT_EQ(c3d.Float("ANALOG", "SCALE", 3), HUGE_VALF);
    for (std::size_t c = 0; c < 4; ++c)
        EXPECT_EQ(c3d.Int16("ANALOG", "OFFSET", c), 0) << c;
}

#ifndef _WIN32
enum class ESpecial { Directory, Fifo };

void MakeSpecial(const std::string &strPath, ESpecial eKind)
{
    if (eKind == ESpecial::Directory)
        ASSERT_TRUE(std::filesystem::create_directory(strPath));
    else
        ASSERT_EQ(::mkfifo(strPath.c_str(), 0666), 0);
}

TEST_F(Hostile, ADirectoryOrFifoIsNoSourceAndNoTarget)
{
    // A FIFO without a writer would block an ordinary open for reading, and one without
    // a reader an open for writing; neither may hang the conversion.
    for (const ESpecial eKind : {ESpecial::Directory, ESpecial::Fifo}) {
        SCOPED_TRACE(eKind == ESpecial::Directory ? "directory" : "FIFO");
        CScratchDir dir;
        CRecordingHost host;
        host.m_records.m_bBatchMode = true;
        CConversionJob job(host);

        const std::string strSpecialSource = dir.Path("special.wdq");
        MakeSpecial(strSpecialSource, eKind);
        job.OnOpenDocument(strSpecialSource);
        EXPECT_EQ(host.m_records.m_records.at(0).m_strResult, kResultCouldNotOpen);
        EXPECT_EQ(host.MessageTexts(), Texts{"Could not open file " + strSpecialSource});

        const std::string strSource = dir.Write("trial.wdq", Recording(1, 1000, 40).Build());
        MakeSpecial(dir.Path("trial.c3d"), eKind);
        job.OnOpenDocument(strSource);
        EXPECT_EQ(host.m_records.m_records.at(1).m_strResult, kResultCouldNotConvert);
        EXPECT_EQ(host.MessageTexts(),
                  (Texts{"Could not open file " + strSpecialSource, "Could not open file to write",
                         "Could not convert to c3d file"}));
        EXPECT_EQ(Sorted(dir.List()), Sorted({"special.wdq", "trial.wdq", "trial.c3d"}));
        EXPECT_NE(std::filesystem::status(dir.Path("trial.c3d")).type(), std::filesystem::file_type::regular);
    }
}
#endif

// The disk, with something done to the source once it has been read and before the
// target is created, while the conversion keeps it open to stream its samples.
class CChangeBeforeWrite : public CFileSystem {
public:
    explicit CChangeBeforeWrite(std::function<void()> change) : m_change(std::move(change)) {}

    bool Exists(const std::string &strPath) override { return m_disk.Exists(strPath); }
    std::unique_ptr<CFile> OpenRead(const std::string &strPath) override { return m_disk.OpenRead(strPath); }
    bool IsSameFile(const std::string &strFirst, const std::string &strSecond) override
    {
        return m_disk.IsSameFile(strFirst, strSecond);
    }
    std::unique_ptr<CFile> CreateTemp(const std::string &strTarget, std::string &strTempPath) override
    {
        m_change();
        return m_disk.CreateTemp(strTarget, strTempPath);
    }
    void Replace(const std::string &strTempPath, const std::string &strTarget) override
    {
        m_disk.Replace(strTempPath, strTarget);
    }
    void Remove(const std::string &strPath) noexcept override { m_disk.Remove(strPath); }

private:
    CFileSystem &m_disk = GetDiskFileSystem();
    std::function<void()> m_change;
};

TEST_F(Hostile, ASourceCutWhileItIsReadFailsAsAReadError)
{
    // 2 MiB of samples, so the cut falls inside the data stream.
    const Bytes source = Recording(8, 1000, 131072).Build();
    const std::string strSource = m_dir.Path("trial.wdq");
    m_bSourceChanges = true;
    CChangeBeforeWrite cut([&] { std::filesystem::resize_file(strSource, 2000 + 10); });
    const std::string strResult = Convert(source, cut);
    EXPECT_EQ(strResult, kResultCouldNotOpen);
    EXPECT_EQ(m_host.MessageTexts(),
              (Texts{"Could not read file " + strSource + ": The file became shorter while it was read",
                     "Could not open file " + strSource}));
    EXPECT_EQ(m_dir.List(), Texts{"trial.wdq"});
}

TEST_F(Hostile, ASourceGrowingWhileItIsReadGivesTheTargetOfWhatWasRead)
{
    const CWdqBuilder builder = Recording(8, 1000, 4000);
    CScratchDir reference;
    CRecordingHost referenceHost;
    referenceHost.m_records.m_bBatchMode = true;
    ASSERT_TRUE(CConversionJob(referenceHost).OnOpenDocument(reference.Write("trial.wdq", builder.Build())));

    // The logger is still appending sample words when the conversion starts.
    const std::string strSource = m_dir.Path("trial.wdq");
    m_bSourceChanges = true;
    CChangeBeforeWrite grow(
        [&] { std::filesystem::resize_file(strSource, builder.Build().size() + (1 << 20)); });
    EXPECT_EQ(Convert(builder.Build(), grow), kResultConverted);
    EXPECT_TRUE(m_host.m_messages.empty());
    EXPECT_EQ(Sorted(m_dir.List()), Sorted({"trial.wdq", "trial.c3d"}));
    EXPECT_EQ(CScratchDir::Read(m_dir.Path("trial.c3d")), CScratchDir::Read(reference.Path("trial.c3d")));
}

} // namespace
} // namespace tarvek::test
