// Every operation of the file layer that a conversion makes, failed in turn on the real
// disk: each failure is recorded and told as it should be, and leaves the folder exactly
// as it was before the conversion.

#include "engine/CConversionJob.h"
#include "tests/support/CFaultFileSystem.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;
using EOp = CFaultFileSystem::EOp;

// 16 channels of 90000 samples: 2.9 MB of sample words, so the data streams in several
// chunks and the target takes many writes.
Bytes Recording()
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 16;
    for (int c = 0; c < 16; ++c)
        builder.m_calibration.push_back({0.001 * (c + 1), c});
    builder.SetAnnotations({"Left Quad", "Right Quad"});
    builder.m_words.resize(16 * 90000);
    for (std::size_t k = 0; k < builder.m_words.size(); ++k)
        builder.m_words[k] = static_cast<std::uint16_t>(k * 40503u);
    return builder.Build();
}

const Bytes kOldTarget = {'o', 'l', 'd', ' ', 't', 'a', 'r', 'g', 'e', 't'};

Texts Sorted(Texts texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The messages a failure of this kind shows, after those of the stages before it.
Texts FailureMessages(EOp eOp, const std::string &strSource, const std::string &strTarget)
{
    switch (eOp) {
    case EOp::Open:
        return {"Could not open file " + strSource};
    case EOp::Read:
        return {"Could not read file " + strSource + ": " + CFaultFileSystem::kReadReason,
                "Could not open file " + strSource};
    case EOp::CreateTemp:
        return {"Could not open file to write", "Could not convert to c3d file"};
    case EOp::Write:
        return {"Could not write file " + strTarget + ": " + CFaultFileSystem::kWriteReason,
                "Could not convert to c3d file"};
    default:
        return {"Could not write file " + strTarget + ": " + CFaultFileSystem::kReplaceReason,
                "Could not convert to c3d file"};
    }
}

struct SFaultCase {
    EOp m_eOp;
    const char *m_pszName;
    const char *m_pszResult;
    bool m_bExistingTarget;
};

void PrintTo(const SFaultCase &c, std::ostream *pStream)
{
    *pStream << c.m_pszName << (c.m_bExistingTarget ? " over an existing target" : " without a target");
}

class FileFault : public ::testing::TestWithParam<SFaultCase> {
protected:
    FileFault()
    {
        m_strSource = m_dir.Write("trial.wdq", m_source);
        m_strTarget = m_dir.Path("trial.c3d");
    }

    // Converts through the fault layer and returns the record's result.
    std::string Convert(CFaultFileSystem &faults, CRecordingHost &host)
    {
        host.m_records.m_bBatchMode = true;
        CConversionJob job(host, faults);
        job.OnOpenDocument(m_strSource);
        EXPECT_EQ(host.m_records.m_records.size(), 1u);
        EXPECT_EQ(host.m_nWaitDepth, 0);
        return host.m_records.m_records.back().m_strResult;
    }

    const Bytes m_source = Recording();
    CScratchDir m_dir;
    std::string m_strSource;
    std::string m_strTarget;
};

TEST_P(FileFault, EachOperationFailsCleanly)
{
    const SFaultCase &c = GetParam();

    CFaultFileSystem counter(GetDiskFileSystem());
    CRecordingHost cleanHost;
    ASSERT_EQ(Convert(counter, cleanHost), kResultConverted);
    ASSERT_TRUE(cleanHost.m_messages.empty());
    const Bytes converted = CScratchDir::Read(m_strTarget);
    const int nOps = counter.Count(c.m_eOp);
    ASSERT_GT(nOps, 0);
    if (c.m_eOp == EOp::Read) { // header, calibration and the chunks of the data stream
        EXPECT_GT(nOps, 40);
    }
    if (c.m_eOp == EOp::Write) {
        EXPECT_GT(nOps, 10);
    }

    const Texts expectedFiles = c.m_bExistingTarget ? Sorted({"trial.wdq", "trial.c3d"}) : Texts{"trial.wdq"};
    for (int n = 1; n <= nOps; ++n) {
        SCOPED_TRACE("failing " + std::string(c.m_pszName) + " " + std::to_string(n) + " of " +
                     std::to_string(nOps));
        if (c.m_bExistingTarget)
            m_dir.Write("trial.c3d", kOldTarget);
        else
            std::filesystem::remove(m_dir.Path("trial.c3d"));

        CFaultFileSystem faults(GetDiskFileSystem());
        faults.FailAt(c.m_eOp, n);
        CRecordingHost host;
        EXPECT_EQ(Convert(faults, host), c.m_pszResult);
        ASSERT_TRUE(faults.HasFailed());
        EXPECT_EQ(host.MessageTexts(), FailureMessages(c.m_eOp, m_strSource, m_strTarget));
        EXPECT_TRUE(host.m_warnings.empty());
        EXPECT_EQ(Sorted(m_dir.List()), expectedFiles);
        if (c.m_bExistingTarget) {
            EXPECT_EQ(CScratchDir::Read(m_strTarget), kOldTarget);
        }
    }
    EXPECT_EQ(CScratchDir::Read(m_strSource), m_source);

    // Nothing of the failures lingers: the next conversion gives the same file.
    CFaultFileSystem again(GetDiskFileSystem());
    CRecordingHost host;
    EXPECT_EQ(Convert(again, host), kResultConverted);
    EXPECT_EQ(CScratchDir::Read(m_strTarget), converted);
}

INSTANTIATE_TEST_SUITE_P(Disk, FileFault,
                         ::testing::Values(SFaultCase{EOp::Open, "open", kResultCouldNotOpen, true},
                                           SFaultCase{EOp::Read, "read", kResultCouldNotOpen, true},
                                           SFaultCase{EOp::Read, "read", kResultCouldNotOpen, false},
                                           SFaultCase{EOp::CreateTemp, "create", kResultCouldNotConvert,
                                                      true},
                                           SFaultCase{EOp::Write, "write", kResultCouldNotConvert, true},
                                           SFaultCase{EOp::Write, "write", kResultCouldNotConvert, false},
                                           SFaultCase{EOp::Replace, "rename", kResultCouldNotConvert, true},
                                           SFaultCase{EOp::Replace, "rename", kResultCouldNotConvert, false}),
                         [](const ::testing::TestParamInfo<SFaultCase> &info) {
                             return std::string(info.param.m_pszName) +
                                    (info.param.m_bExistingTarget ? "OverTarget" : "NoTarget");
                         });

TEST(FileFaultInBatch, TheNextFileIsStillConverted)
{
    CScratchDir dir;
    const Bytes source = Recording();
    const Texts sources = {dir.Write("a.wdq", source), dir.Write("b.wdq", source),
                           dir.Write("c.wdq", source)};

    CFaultFileSystem counter(GetDiskFileSystem());
    CRecordingHost counterHost;
    counterHost.m_records.m_bBatchMode = true;
    CConversionJob(counterHost, counter).OnOpenDocument(sources[0]);
    std::filesystem::remove(dir.Path("a.c3d"));

    // The disk fills up in the middle of the second file's data section.
    CFaultFileSystem faults(GetDiskFileSystem());
    faults.FailAt(EOp::Write, counter.Count(EOp::Write) + counter.Count(EOp::Write) / 2);
    CRecordingHost host;
    host.m_records.m_bBatchMode = true;
    CConversionJob job(host, faults);
    for (const std::string &strSource : sources)
        job.OnOpenDocument(strSource);

    ASSERT_EQ(host.m_records.m_records.size(), 3u);
    EXPECT_EQ(host.m_records.m_records[0].m_strResult, kResultConverted);
    EXPECT_EQ(host.m_records.m_records[1].m_strResult, kResultCouldNotConvert);
    EXPECT_EQ(host.m_records.m_records[2].m_strResult, kResultConverted);
    EXPECT_EQ(host.MessageTexts(), FailureMessages(EOp::Write, sources[1], dir.Path("b.c3d")));
    EXPECT_EQ(Sorted(dir.List()), Sorted({"a.wdq", "b.wdq", "c.wdq", "a.c3d", "c.c3d"}));
    EXPECT_EQ(CScratchDir::Read(dir.Path("a.c3d")), CScratchDir::Read(dir.Path("c.c3d")));
}

} // namespace
} // namespace tarvek::test
