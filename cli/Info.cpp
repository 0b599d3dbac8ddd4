#include "cli/Info.h"

#include "cli/CJson.h"
#include "engine/CCod.h"
#include "engine/CConversionJob.h"

namespace tarvek {

namespace {

const char* Variant(const CCod& cod)
{
    if (!cod.m_bExtendedHeader)
        return "legacy";
    return cod.m_nHeaderSize > 5296 ? "large" : "standard";
}

const CParam& Param(const CCod& cod, const char* pszGroup, const char* pszName)
{
    return *cod.m_params[static_cast<std::size_t>(cod.FindParam(pszGroup, pszName))];
}

void PrintFailure(CCliHost& host, const std::string& strSource, bool bJson, std::FILE* pOut,
                  const char* pszResult)
{
    if (bJson) {
        CJsonObject object;
        object.Add("source", strSource)
            .Add("result", pszResult)
            .Add("messages", host.m_messages)
            .Add("warnings", host.m_warnings);
        std::fprintf(pOut, "%s\n", object.ToString().c_str());
    } else {
        std::fprintf(pOut, "%s: %s\n", pszResult, strSource.c_str());
    }
}

void PrintDescription(CCliHost& host, const CCod& cod, const std::string& strSource, bool bJson,
                      std::FILE* pOut)
{
    const CParam& labels = Param(cod, "Analog", "Labels");
    const CParam& descriptions = Param(cod, "Analog", "Descriptions");
    const CParam& sides = Param(cod, "EMG", "Side");
    const CParam& scales = Param(cod, "Analog", "Scale");
    const CParam& offsets = Param(cod, "Analog", "Offset");
    if (bJson) {
        std::string strChannels = "[";
        for (int i = 0; i < cod.m_nChannels; ++i) {
            const auto n = static_cast<std::size_t>(i);
            CJsonObject channel;
            channel.Add("label", labels.m_strings[n])
                .Add("description", descriptions.m_strings[n].substr(0, descriptions.m_pDims[0]))
                .Add("side", sides.m_strings[n])
                .Add("scale", static_cast<double>(scales.GetFloat(i)))
                .Add("offset", static_cast<long long>(offsets.GetInteger(i)));
            strChannels += (i ? "," : "") + channel.ToString();
        }
        CJsonObject object;
        object.Add("source", strSource)
            .Add("target", MakeTargetPath(strSource))
            .Add("result", "Read")
            .Add("variant", Variant(cod))
            .Add("header_size", static_cast<long long>(cod.m_nHeaderSize))
            .Add("channels", static_cast<long long>(cod.m_nChannels))
            .Add("sample_rate", static_cast<double>(cod.m_fSampleRate))
            .Add("header_samples", static_cast<long long>(cod.m_nHeaderSamples))
            .Add("samples", static_cast<long long>(cod.m_nSamples))
            .Add("samples_per_frame", static_cast<long long>(cod.m_nSamplesPerFrame))
            .Add("frame_rate", static_cast<double>(cod.m_fFrameRate))
            .Add("frames", static_cast<long long>(cod.GetFrameCount()))
            .Add("annotations", cod.m_annotations)
            .AddRaw("channel_list", strChannels + "]")
            .Add("messages", host.m_messages)
            .Add("warnings", host.m_warnings);
        std::fprintf(pOut, "%s\n", object.ToString().c_str());
        return;
    }
    std::fprintf(pOut, "%s\n", strSource.c_str());
    std::fprintf(pOut, "  header:            %s, %u bytes\n", Variant(cod), cod.m_nHeaderSize);
    std::fprintf(pOut, "  channels:          %d\n", cod.m_nChannels);
    std::fprintf(pOut, "  sample rate:       %s per second\n", JsonNumber(cod.m_fSampleRate).c_str());
    std::fprintf(pOut, "  samples:           %u per channel", cod.m_nSamples);
    if (cod.m_nSamples != cod.m_nHeaderSamples)
        std::fprintf(pOut, " (header gives %u)", cod.m_nHeaderSamples);
    std::fprintf(pOut, "\n  samples per frame: %d\n", cod.m_nSamplesPerFrame);
    std::fprintf(pOut, "  frame rate:        %s per second\n", JsonNumber(cod.m_fFrameRate).c_str());
    std::fprintf(pOut, "  frames:            %u\n", cod.GetFrameCount());
    for (int i = 0; i < cod.m_nChannels; ++i) {
        const auto n = static_cast<std::size_t>(i);
        std::fprintf(pOut, "  %s  side %s  scale %s  offset %d  %s\n", labels.m_strings[n].c_str(),
                     sides.m_strings[n].c_str(), JsonNumber(scales.GetFloat(i)).c_str(),
                     offsets.GetInteger(i), descriptions.m_strings[n].c_str());
    }
}

} // namespace

bool PrintInfo(CCliHost& host, const std::string& strSource, bool bJson, std::FILE* pOut)
{
    CFileSystem& fileSystem = GetDiskFileSystem();
    if (!fileSystem.Exists(strSource)) {
        host.ShowMessage("The selected file could not be found", EMessageIcon::Warning);
        PrintFailure(host, strSource, bJson, pOut, kResultNotFound);
        return false;
    }
    CCod cod(host, fileSystem);
    cod.m_strSourcePath = strSource;
    bool bRead;
    try {
        bRead = cod.Open();
    } catch (const CFileException& error) {
        host.ShowMessage("Could not read file " + strSource + ": " + error.m_strReason,
                         EMessageIcon::Warning);
        bRead = false;
    }
    if (!bRead) {
        host.ShowMessage("Could not open file " + strSource, EMessageIcon::Warning);
        PrintFailure(host, strSource, bJson, pOut, kResultCouldNotOpen);
        return false;
    }
    PrintDescription(host, cod, strSource, bJson, pOut);
    cod.FreeAll();
    return true;
}

} // namespace tarvek
