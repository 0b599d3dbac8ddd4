// libFuzzer target: any bytes, taken as a WDQ file, go through the whole conversion job in
// memory. A run that succeeds must give a C3D file that an independent reader accepts and
// that agrees with the source; every run is then repeated with one operation of the file
// layer failing, and must fail cleanly. Anything else aborts, and libFuzzer keeps the input.

#include "engine/CConversionJob.h"
#include "engine/CMemFileSystem.h"
#include "tests/support/CC3dReader.h"
#include "tests/support/CFaultFileSystem.h"
#include "tests/support/CRecordingHost.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tarvek;
using namespace tarvek::test;

namespace {

using Bytes = std::vector<std::uint8_t>;
using EOp = CFaultFileSystem::EOp;

const std::string kSource = "/data/trial.wdq";
const std::string kTarget = "/data/trial.c3d";
const Bytes kOldTarget = {'o', 'l', 'd'};

void Require(bool bHolds, const std::string &strWhat)
{
    if (bHolds)
        return;
    std::fprintf(stderr, "broken: %s\n", strWhat.c_str());
    std::abort();
}

struct SRun {
    CRecordingHost m_host;
    CMemFileSystem m_memory;
    CFaultFileSystem m_faults{m_memory};
    bool m_bResult = false;

    SRun(const Bytes &source, bool bBatchMode, EOp eFailOp, int nFailAt)
    {
        m_memory.AddFile(kSource, source);
        m_memory.AddFile(kTarget, kOldTarget);
        m_host.m_records.m_bBatchMode = bBatchMode;
        m_faults.FailAt(eFailOp, nFailAt);
        CConversionJob job(m_host, m_faults);
        m_bResult = job.OnOpenDocument(kSource);
    }

    const std::string &Result() const { return m_host.m_records.m_records.at(0).m_strResult; }
};

std::uint16_t U16(const Bytes &bytes, std::size_t n)
{
    return static_cast<std::uint16_t>(bytes[n] | (bytes[n + 1] << 8));
}

// What every conversion leaves, whatever its outcome.
void CheckCommon(const SRun &run, const Bytes &source)
{
    const auto &records = run.m_host.m_records.m_records;
    Require(records.size() == 1, "one record per conversion");
    Require(records[0].m_strSource == kSource && records[0].m_strTarget == kTarget, "record paths");
    Require(run.m_host.m_nWaitDepth == 0, "wait cursor ended");
    Require(*run.m_memory.GetFile(kSource) == source, "source unchanged");
    Require(run.m_memory.List() == std::vector<std::string>{kTarget, kSource}, "no other file left");
    if (run.Result() != kResultConverted) {
        Require(!run.m_bResult, "a failure returns false");
        Require(*run.m_memory.GetFile(kTarget) == kOldTarget, "a failure leaves the old target");
        Require(!run.m_host.m_messages.empty(), "a failure is told");
    }
}

std::int16_t Decode(std::uint16_t nWord)
{
    return static_cast<std::int16_t>(static_cast<std::int16_t>(nWord) >> 2);
}

void CheckConverted(const SRun &run, const Bytes &source)
{
    Require(run.m_host.m_messages.empty(), "no message box for a conversion");
    Require(run.m_bResult == run.m_host.m_records.m_bBatchMode, "result follows the batch mode");
    Require(run.m_host.m_nUpdates + run.m_host.m_nExitInstance == 1, "views refreshed or run ended");

    const CC3dReader c3d(*run.m_memory.GetFile(kTarget));
    Require(c3d.m_strError.empty(), "readable target: " + c3d.m_strError);
    Require(c3d.m_groups == std::vector<std::string>{"ANALOG", "POINT", "EMG"}, "the three groups");
    Require(c3d.m_params.size() == 14, "thirteen parameters and Data_Start");

    const std::uint16_t nHeaderSize = U16(source, 6);
    const int nChannels = nHeaderSize == 1156 ? (source[0] & 0x1F) : source[0];
    const int nPerFrame = c3d.Word(10);
    const std::uint16_t nFrames = c3d.Word(5);
    Require(c3d.Word(2) == 0 && c3d.Word(4) == 1 && c3d.HeaderFloat(7) == 1.0f, "fixed header words");
    Require(nPerFrame >= 1 && nPerFrame <= 32767, "samples per frame in range");
    Require(c3d.Word(3) == nChannels * nPerFrame, "values per frame without wrap");
    Require(c3d.Int16("ANALOG", "USED") == nChannels, "ANALOG USED");
    Require(static_cast<int>(c3d.Strings("ANALOG", "LABELS").size()) == nChannels, "one label per channel");
    Require(c3d.Find("ANALOG", "DESCRIPTIONS")->m_dims.at(0) <= 255, "descriptions width");
    Require(c3d.Find("POINT", "Data_Start") && c3d.Int16("POINT", "Data_Start") == c3d.Word(9),
            "Data_Start gives the data start block");

    // The frame rate lets a reader recover the samples per frame by truncation.
    const float fFrameRate = c3d.HeaderFloat(11);
    const float fRate = c3d.Float("ANALOG", "RATE");
    Require(std::isfinite(fFrameRate) && fFrameRate > 0 && c3d.Float("POINT", "RATE") == fFrameRate,
            "frame rate in the header and POINT RATE");
    Require(std::isfinite(fRate) && fRate > 0 && fRate < 1638400.0f, "sample rate");
    const double fQuotient = static_cast<double>(fRate) / static_cast<double>(fFrameRate);
    Require(static_cast<int>(fQuotient) == nPerFrame, "ANALOG RATE / POINT RATE gives samples per frame");

    // The data section is the source's words, decoded, cut to whole frames.
    const std::size_t nValues = static_cast<std::size_t>(c3d.Word(3)) * nFrames;
    Require(nHeaderSize + 2 * nValues <= source.size(), "frames only from samples the file holds");
    for (std::size_t k = 0; k < nValues; ++k)
        if (c3d.Value(0, k) != Decode(U16(source, nHeaderSize + 2 * k)))
            Require(false, "sample " + std::to_string(k) + " as decoded");
}

void CheckFault(const SRun &run, const SRun &clean, EOp eOp)
{
    const std::vector<std::string> messages = run.m_host.MessageTexts();
    const std::vector<std::string> cleanMessages = clean.m_host.MessageTexts();
    std::vector<std::string> tail;
    switch (eOp) {
    case EOp::Open:
        Require(run.Result() == kResultCouldNotOpen, "open failure record");
        tail = {"Could not open file " + kSource};
        break;
    case EOp::Read:
        Require(run.Result() == kResultCouldNotOpen, "read failure record");
        tail = {"Could not read file " + kSource + ": " + CFaultFileSystem::kReadReason,
                "Could not open file " + kSource};
        break;
    case EOp::CreateTemp:
        Require(run.Result() == kResultCouldNotConvert, "create failure record");
        tail = {"Could not open file to write", kResultCouldNotConvert};
        break;
    default:
        Require(run.Result() == kResultCouldNotConvert, "write failure record");
        tail = {"Could not write file " + kTarget + ": " +
                    (eOp == EOp::Write ? CFaultFileSystem::kWriteReason : CFaultFileSystem::kReplaceReason),
                kResultCouldNotConvert};
        break;
    }
    Require(messages.size() >= tail.size(), "failure messages");
    const std::size_t nBefore = messages.size() - tail.size();
    Require(std::vector<std::string>(messages.begin() + static_cast<std::ptrdiff_t>(nBefore),
                                     messages.end()) == tail,
            "failure messages in order");
    Require(nBefore <= cleanMessages.size() &&
                std::equal(messages.begin(), messages.begin() + static_cast<std::ptrdiff_t>(nBefore),
                           cleanMessages.begin()),
            "messages before the fault as without it");
}

std::uint64_t Hash(const std::uint8_t *pData, std::size_t nSize)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < nSize; ++i)
        h = (h ^ pData[i]) * 1099511628211ull;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *pData, std::size_t nSize)
{
    const Bytes source(pData, pData + nSize);
    const std::uint64_t nHash = Hash(pData, nSize);

    const SRun clean(source, (nHash & 1) != 0, EOp::Count, 0);
    CheckCommon(clean, source);
    if (clean.Result() == kResultConverted)
        CheckConverted(clean, source);
    else
        Require(clean.Result() == kResultCouldNotOpen || clean.Result() == kResultCouldNotConvert,
                "a known result");

    // Fail one of the operations the clean run made, chosen by the input.
    int nTotal = 0;
    for (int i = 0; i < static_cast<int>(EOp::Count); ++i)
        nTotal += clean.m_faults.Count(static_cast<EOp>(i));
    int nPick = static_cast<int>((nHash >> 1) % static_cast<std::uint64_t>(nTotal));
    int nOp = 0;
    while (nPick >= clean.m_faults.Count(static_cast<EOp>(nOp)))
        nPick -= clean.m_faults.Count(static_cast<EOp>(nOp++));
    const auto eOp = static_cast<EOp>(nOp);
    const SRun faulty(source, true, eOp, nPick + 1);
    Require(faulty.m_faults.HasFailed(), "the fault was reached");
    CheckCommon(faulty, source);
    CheckFault(faulty, clean, eOp);
    return 0;
}
