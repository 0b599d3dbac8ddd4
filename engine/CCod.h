#pragma once

#include "c3d/CGroup.h"
#include "c3d/CParam.h"
#include "engine/CByteStream.h"
#include "engine/CFileSystem.h"
#include "engine/CMessageSink.h"
#include "wdq/CSampleStream.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvek {

// Messages of the reading and writing stages, as the user sees them.
inline constexpr const char* kMsgNoChannelsLegacy = "No Channels found in file";
inline constexpr const char* kMsgSamplingRate = "Error in Sampling Rate";
inline constexpr const char* kMsgNoChannels = "Did not find channels in file";
inline constexpr const char* kMsgNoMemory = "Not Enough Memory";
inline constexpr const char* kMsgNoSamples = "No samples found in file";
inline constexpr const char* kMsgTooLarge = "The recording is too large for a C3D file";
inline constexpr const char* kMsgCannotWrite = "Could not open file to write";

// The converter of one WDQ source into one C3D target. Open reads the description of the
// source (header, annotations, parameter set, calibration); WriteC3D then streams the
// samples from the still open source into the target's data section, chunk by chunk.
class CCod {
public:
    CCod(CMessageSink& sink, CFileSystem& fileSystem = GetDiskFileSystem());
    CCod(const CCod&) = delete;
    CCod& operator=(const CCod&) = delete;

    bool Open();
    bool WriteC3D(const std::string& strTarget);
    void FreeAll();

    int FindParam(const std::string& strGroup, const std::string& strParam) const;

    // Reading pipeline and its stages.
    bool ReadSource();
    bool ReadHeaderSize();
    bool ReadLegacyHeader();
    bool ReadStandardHeader();
    bool ReadLargeHeader();
    void ReadAnnotations();
    bool CheckSampleRate();
    void FitSamplesToFile();
    bool ChooseSamplesPerFrame();
    void ChooseFrameRate();
    void CreateGroups();
    void BuildParameters();
    void AddDataStart();
    bool AllocateSampleBuffer();
    void ApplyCalibration();

    // Writers, in file order.
    int WriteHeader(COutStream& target);
    void WriteParameters(COutStream& target);
    void WriteAnalogData(COutStream& target);

    // Whole frames of the target and the samples of each channel they hold.
    std::uint32_t GetFrameCount() const;

    std::int16_t m_nSamplesPerFrame = 10;
    float m_fFrameRate = 0;
    std::uint16_t m_nDataStart = 0;
    std::uint8_t m_nNextParam = 0;
    std::uint16_t m_nHeaderSize = 0;
    std::unique_ptr<CFile> m_srcFile;
    std::string m_strSourcePath;
    bool m_bBuffersAllocated = false;
    bool m_bExtendedHeader = false;
    std::int16_t m_nChannels = 0;
    float m_fSampleRate = 0;
    std::uint32_t m_nSamples = 0;
    std::uint64_t m_nTrailerOffset = 0;
    std::uint32_t m_nEventBytes = 0;
    std::uint16_t m_nAnnotationBytes = 0;
    std::vector<std::optional<CGroup>> m_groups;
    std::vector<std::optional<CParam>> m_params;
    std::vector<std::string> m_annotations;

    // Samples per channel that the header gives, before FitSamplesToFile.
    std::uint32_t m_nHeaderSamples = 0;
    // Chunk buffer of the sample stream; allocated by AllocateSampleBuffer.
    std::vector<std::uint8_t> m_sampleBuffer;

private:
    bool Fail(const char* pszMessage, EMessageIcon eIcon);
    void ComputeSampleCount(std::uint32_t nDataBytes);
    std::uint32_t ReadDataByteCount();

    CMessageSink& m_sink;
    CFileSystem& m_fileSystem;
};

} // namespace tarvek
