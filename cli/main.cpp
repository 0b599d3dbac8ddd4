// tarvek-cli: converts WDQ recordings to C3D files beside them, or describes them.

#include "cli/CCliHost.h"
#include "cli/CJson.h"
#include "cli/Console.h"
#include "cli/Info.h"
#include "engine/CConversionJob.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace tarvek;

namespace {

constexpr int kExitConverted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: tarvek-cli [--json] FILE...\n"
    "       tarvek-cli --info [--json] FILE...\n"
    "\n"
    "Converts each WDQ recording to a C3D file of the same name in the same folder,\n"
    "in the order given, replacing an existing one.\n"
    "\n"
    "  --info     describe each recording as it would be converted; write nothing\n"
    "  --json     one JSON object per line per file instead of text\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when every file succeeded, 1 when any failed, 2 for a usage error.\n";

std::string MakeAbsolute(const std::string& strPath)
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(std::filesystem::u8path(strPath), error);
    if (error)
        return strPath;
    const std::u8string strAbsolute = path.lexically_normal().u8string();
    return std::string(strAbsolute.begin(), strAbsolute.end());
}

int Convert(const std::vector<std::string>& files, bool bJson)
{
    CCliHost host(!bJson, stderr);
    CConversionJob job(host);
    int nExit = kExitConverted;
    for (const std::string& strFile : files) {
        const std::string strSource = MakeAbsolute(strFile);
        host.BeginFile(strSource);
        job.OnOpenDocument(strSource);
        const ConversionRecord& record = host.m_records.m_records.back();
        if (record.m_strResult != kResultConverted)
            nExit = kExitFailed;
        if (bJson) {
            CJsonObject object;
            object.Add("source", record.m_strSource)
                .Add("target", record.m_strTarget)
                .Add("result", record.m_strResult)
                .Add("messages", host.m_messages)
                .Add("warnings", host.m_warnings);
            std::printf("%s\n", object.ToString().c_str());
        } else {
            std::printf("%s: %s -> %s\n", record.m_strResult.c_str(), record.m_strSource.c_str(),
                        record.m_strTarget.empty() ? "(none)" : record.m_strTarget.c_str());
        }
        std::fflush(stdout);
    }
    return nExit;
}

int Describe(const std::vector<std::string>& files, bool bJson)
{
    CCliHost host(!bJson, stderr);
    int nExit = kExitConverted;
    for (const std::string& strFile : files) {
        const std::string strSource = MakeAbsolute(strFile);
        host.BeginFile(strSource);
        if (!PrintInfo(host, strSource, bJson, stdout))
            nExit = kExitFailed;
        std::fflush(stdout);
    }
    return nExit;
}

} // namespace

int main(int argc, char** argv)
{
    const CUtf8Console console;
    const std::vector<std::string> arguments = GetUtf8Arguments(argc, argv);
    bool bJson = false;
    bool bInfo = false;
    bool bOptions = true;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& strArg = arguments[i];
        if (bOptions && strArg == "--") {
            bOptions = false;
        } else if (bOptions && strArg == "--json") {
            bJson = true;
        } else if (bOptions && strArg == "--info") {
            bInfo = true;
        } else if (bOptions && (strArg == "--help" || strArg == "-h")) {
            std::fputs(kUsage, stdout);
            return kExitConverted;
        } else if (bOptions && strArg == "--version") {
            std::printf("tarvek-cli %s\n", TARVEK_VERSION);
            return kExitConverted;
        } else if (bOptions && strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "tarvek-cli: unknown option '%s'\n%s", strArg.c_str(), kUsage);
            return kExitUsage;
        } else {
            files.push_back(strArg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "tarvek-cli: no file given\n%s", kUsage);
        return kExitUsage;
    }
    return bInfo ? Describe(files, bJson) : Convert(files, bJson);
}
