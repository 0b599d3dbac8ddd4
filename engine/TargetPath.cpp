#include "engine/CConversionJob.h"

namespace tarvek {

std::string MakeTargetPath(const std::string& strSource, bool bWindowsPaths)
{
    const std::size_t nComponent = strSource.find_last_of(bWindowsPaths ? "/\\:" : "/");
    const std::size_t nStart = nComponent == std::string::npos ? 0 : nComponent + 1;
    const std::size_t nDot = strSource.rfind('.');
    const bool bExtension = nDot != std::string::npos && nDot >= nStart;
    return strSource.substr(0, bExtension ? nDot : strSource.size()) + ".c3d";
}

} // namespace tarvek
