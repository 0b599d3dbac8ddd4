#include "engine/CCod.h"
#include "engine/CConversionJob.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <gtest/gtest.h>

namespace tarvek::test {
namespace {

using Texts = std::vector<std::string>;

std::vector<std::uint8_t> GoodRecording()
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 2;
    builder.m_words.assign(2 * 100, 0x0010);
    return builder.Build();
}

std::vector<std::uint8_t> BadHeader()
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 2;
    builder.m_fInterval = -1;
    builder.m_words.assign(2, 0);
    return builder.Build();
}

class ConversionJob : public ::testing::Test {
protected:
    ConversionJob() { m_host.m_records.m_bBatchMode = true; }

    const ConversionRecord& LastRecord() const { return m_host.m_records.m_records.back(); }

    CScratchDir m_dir;
    CRecordingHost m_host;
    CConversionJob m_job{m_host};
};

TEST_F(ConversionJob, ConvertsInBatchModeAndRefreshesTheViews)
{
    const std::string strSource = m_dir.Write("trial.01.wdq", GoodRecording());
    EXPECT_TRUE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(LastRecord().m_strSource, strSource);
    EXPECT_EQ(LastRecord().m_strTarget, m_dir.Path("trial.01.c3d"));
    EXPECT_EQ(LastRecord().m_strResult, "Converted");
    EXPECT_TRUE(m_host.m_messages.empty());
    EXPECT_EQ(m_host.m_nUpdates, 1);
    EXPECT_EQ(m_host.m_nExitInstance, 0);
    EXPECT_EQ(m_host.m_nWaitCursors, 1);
    EXPECT_EQ(m_host.m_nWaitDepth, 0);
}

TEST_F(ConversionJob, OutsideBatchModeASuccessEndsTheRun)
{
    m_host.m_records.m_bBatchMode = false;
    EXPECT_FALSE(m_job.OnOpenDocument(m_dir.Write("trial.wdq", GoodRecording())));
    EXPECT_EQ(LastRecord().m_strResult, "Converted");
    EXPECT_EQ(m_host.m_nExitInstance, 1);
    EXPECT_EQ(m_host.m_nUpdates, 0);
    EXPECT_FALSE(CScratchDir::Read(m_dir.Path("trial.c3d")).empty());
}

TEST_F(ConversionJob, FailuresRecordAndReportInOrder)
{
    const std::string strMissing = m_dir.Path("missing.wdq");
    const std::string strFolder = m_dir.Path("folder.wdq");
    std::filesystem::create_directory(strFolder);
    const std::string strBad = m_dir.Write("bad.wdq", BadHeader());
    struct Case {
        std::string strSource;
        std::string strTarget;
        std::string strResult;
        Texts messages;
    };
    const Case cases[] = {
        {strMissing, "", "The file could not be found", {"The selected file could not be found"}},
        {strFolder,
         m_dir.Path("folder.c3d"),
         "Could not open source file",
         {"Could not open file " + strFolder}},
        {strBad,
         m_dir.Path("bad.c3d"),
         "Could not open source file",
         {"Error in Sampling Rate", "Could not open file " + strBad}},
    };
    for (const Case& c : cases) {
        m_host.m_messages.clear();
        EXPECT_FALSE(m_job.OnOpenDocument(c.strSource));
        EXPECT_EQ(LastRecord().m_strSource, c.strSource);
        EXPECT_EQ(LastRecord().m_strTarget, c.strTarget);
        EXPECT_EQ(LastRecord().m_strResult, c.strResult);
        EXPECT_EQ(m_host.MessageTexts(), c.messages);
        EXPECT_EQ(m_host.m_messages.back().second, EMessageIcon::Warning);
    }
    EXPECT_EQ(m_host.m_records.m_records.size(), 3u);
    EXPECT_EQ(m_host.m_nUpdates, 0) << "a batch of failures refreshes nothing";
    EXPECT_EQ(m_host.m_nWaitDepth, 0);
    EXPECT_EQ(m_dir.List().size(), 2u) << "no target and no temporary file";
}

TEST_F(ConversionJob, BatchKeepsTheOrderOfHandling)
{
    const std::string strBad = m_dir.Write("a.wdq", BadHeader());
    const std::string strGood = m_dir.Write("b.wdq", GoodRecording());
    EXPECT_FALSE(m_job.OnOpenDocument(strBad));
    EXPECT_TRUE(m_job.OnOpenDocument(strGood));
    ASSERT_EQ(m_host.m_records.m_records.size(), 2u);
    EXPECT_EQ(m_host.m_records.m_records[0].m_strSource, strBad);
    EXPECT_EQ(m_host.m_records.m_records[1].m_strSource, strGood);
    EXPECT_EQ(m_host.m_nUpdates, 1);
}

TEST_F(ConversionJob, ReplacesAWritableTargetAndConvertsAgain)
{
    const std::string strSource = m_dir.Write("trial.wdq", GoodRecording());
    m_dir.Write("trial.c3d", {1, 2, 3});
    EXPECT_TRUE(m_job.OnOpenDocument(strSource));
    const std::vector<std::uint8_t> first = CScratchDir::Read(m_dir.Path("trial.c3d"));
    EXPECT_GT(first.size(), 1536u);
    EXPECT_TRUE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(CScratchDir::Read(m_dir.Path("trial.c3d")), first);
    EXPECT_EQ(m_host.m_records.m_records.size(), 2u);
    EXPECT_EQ(m_dir.List().size(), 2u);
}

TEST_F(ConversionJob, ASourceThatWouldBeItsOwnTargetIsRefusedUntouched)
{
    const std::vector<std::uint8_t> bytes = GoodRecording();
    const std::string strSource = m_dir.Write("trial.c3d", bytes);
    EXPECT_FALSE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(LastRecord().m_strTarget, strSource);
    EXPECT_EQ(LastRecord().m_strResult, "Could not convert to c3d file");
    EXPECT_EQ(m_host.MessageTexts(),
              (Texts{"The target file is the source file", "Could not convert to c3d file"}));
    EXPECT_EQ(CScratchDir::Read(strSource), bytes);

    // A second name for the target's file is refused too.
    std::filesystem::create_hard_link(strSource, m_dir.Path("link.wdq"));
    std::filesystem::rename(strSource, m_dir.Path("link.c3d"));
    EXPECT_FALSE(m_job.OnOpenDocument(m_dir.Path("link.wdq")));
    EXPECT_EQ(LastRecord().m_strResult, "Could not convert to c3d file");
    EXPECT_EQ(CScratchDir::Read(m_dir.Path("link.c3d")), bytes);
}

TEST_F(ConversionJob, ATargetThatCannotBeCreatedIsReported)
{
    const std::string strSource = m_dir.Write("trial.wdq", GoodRecording());
    std::filesystem::create_directory(m_dir.Path("trial.c3d"));
    EXPECT_FALSE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(LastRecord().m_strResult, "Could not convert to c3d file");
    EXPECT_EQ(m_host.MessageTexts(),
              (Texts{"Could not open file to write", "Could not convert to c3d file"}));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.Path("trial.c3d")));
    EXPECT_EQ(m_dir.List().size(), 2u);
}

TEST_F(ConversionJob, ARecordingCutShortConvertsWithAWarning)
{
    std::vector<std::uint8_t> bytes = GoodRecording();
    bytes.resize(bytes.size() - 2 * 2 * 60 - 1);
    const std::string strSource = m_dir.Write("trial.wdq", bytes);
    EXPECT_TRUE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(LastRecord().m_strResult, "Converted");
    EXPECT_TRUE(m_host.m_messages.empty());
    EXPECT_EQ(m_host.m_warnings,
              Texts{"The file holds 39 of the 100 samples per channel that its header gives"});
}

} // namespace
} // namespace tarvek::test
