#include "engine/CCod.h"

#include <cmath>
#include <new>

namespace tarvek {

namespace {

// Above this many samples per channel the frame size follows the sample count alone.
constexpr std::uint32_t kLargeRecording = 0x50000;
constexpr std::uint32_t kMaxFrames = 65535;

std::int64_t LargeRecordingSamplesPerFrame(std::uint32_t nSamples)
{
    return static_cast<std::int64_t>(nSamples / 32000 + 1);
}

} // namespace

CCod::CCod(CMessageSink& sink, CFileSystem& fileSystem) : m_sink(sink), m_fileSystem(fileSystem) {}

bool CCod::Fail(const char* pszMessage, EMessageIcon eIcon)
{
    m_sink.ShowMessage(pszMessage, eIcon);
    return false;
}

bool CCod::Open()
{
    m_srcFile = m_fileSystem.OpenRead(m_strSourcePath);
    if (!m_srcFile)
        return false;
    // The source stays open on success: WriteC3D streams its samples.
    const bool bRead = ReadSource();
    if (!bRead)
        m_srcFile.reset();
    return bRead;
}

bool CCod::ReadSource()
{
    ReadHeaderSize();
    bool bHeader;
    if (!m_bExtendedHeader)
        bHeader = ReadLegacyHeader();
    else if (m_nHeaderSize > 5296)
        bHeader = ReadLargeHeader();
    else
        bHeader = ReadStandardHeader();
    if (!bHeader || !CheckSampleRate())
        return false;
    ReadAnnotations();
    FitSamplesToFile();
    if (!ChooseSamplesPerFrame())
        return false;

    m_nNextParam = 0;
    ChooseFrameRate();
    CreateGroups();
    m_params.clear();
    m_params.resize(10);
    BuildParameters();
    if (!AllocateSampleBuffer()) {
        FreeAll();
        return false;
    }
    ApplyCalibration();
    return true;
}

bool CCod::CheckSampleRate()
{
    // Beyond these, samples per frame cannot be formed in 16 bits. A positive rate too
    // small for a float is zero once stored, and would give the target a rate of zero.
    if (m_fSampleRate <= 0.0f || std::isinf(m_fSampleRate) || m_fSampleRate >= 1638400.0f)
        return Fail(kMsgSamplingRate, EMessageIcon::Error);
    return true;
}

bool CCod::ChooseSamplesPerFrame()
{
    const std::uint32_t n = m_nSamples;
    std::int64_t nPerFrame;
    if (n > kLargeRecording) {
        nPerFrame = LargeRecordingSamplesPerFrame(n);
    } else {
        // The rate is finite, positive and below 1638400 here, so the product fits.
        auto nValue = static_cast<std::int16_t>(
            static_cast<std::int32_t>(std::floor(static_cast<double>(m_fSampleRate) * 0.02)));
        if (nValue <= 0)
            nValue = 1;
        while (nValue > 10 && nValue % 10 != 0)
            --nValue;
        nPerFrame = nValue;
        // The header's frame count is 16 bits wide.
        if (n / static_cast<std::uint32_t>(nPerFrame) > kMaxFrames)
            nPerFrame = LargeRecordingSamplesPerFrame(n);
    }
    if (nPerFrame > 32767 || m_nChannels * nPerFrame > 65535)
        return Fail(kMsgTooLarge, EMessageIcon::Error);
    m_nSamplesPerFrame = static_cast<std::int16_t>(nPerFrame);
    return true;
}

void CCod::ChooseFrameRate()
{
    // The float nearest r / spf, unless readers that recover spf as r / frame rate would
    // then see a quotient just below spf and truncate it: then the float below it.
    m_fFrameRate = m_fSampleRate / static_cast<float>(m_nSamplesPerFrame);
    if (m_fFrameRate > 0 && static_cast<double>(m_fSampleRate) / static_cast<double>(m_fFrameRate) <
                                static_cast<double>(m_nSamplesPerFrame))
        m_fFrameRate = std::nextafter(m_fFrameRate, 0.0f);
}

std::uint32_t CCod::GetFrameCount() const
{
    return m_nSamples / static_cast<std::uint32_t>(m_nSamplesPerFrame);
}

bool CCod::AllocateSampleBuffer()
{
    if (m_nSamples == 0)
        return Fail(kMsgNoSamples, EMessageIcon::Error);
    try {
        m_sampleBuffer.assign(kSampleChunkBytes, 0);
    } catch (const std::bad_alloc&) {
        return Fail(kMsgNoMemory, EMessageIcon::Information);
    }
    m_bBuffersAllocated = true;
    return true;
}

bool CCod::WriteC3D(const std::string& strTarget)
{
    std::string strTemp;
    std::unique_ptr<CFile> target = m_fileSystem.CreateTemp(strTarget, strTemp);
    if (!target)
        return Fail(kMsgCannotWrite, EMessageIcon::Warning);
    // The target appears only once complete; any failure leaves no trace of this run.
    try {
        COutStream stream(*target);
        if (!WriteHeader(stream)) {
            target.reset();
            m_fileSystem.Remove(strTemp);
            return false;
        }
        WriteParameters(stream);
        WriteAnalogData(stream);
        stream.Flush();
        target->Close();
        m_fileSystem.Replace(strTemp, strTarget);
    } catch (...) {
        target.reset();
        m_fileSystem.Remove(strTemp);
        throw;
    }
    return true;
}

void CCod::FreeAll()
{
    m_sampleBuffer = {};
    m_bBuffersAllocated = false;
    m_srcFile.reset();
    while (!m_groups.empty())
        m_groups.pop_back();
    while (!m_params.empty())
        m_params.pop_back();
}

} // namespace tarvek
