#pragma once

#include "CFileSystem.h"
#include "CJobHost.h"

#include <string>

namespace tarvek {

// Result texts of a conversion record.
inline constexpr const char* kResultConverted = "Converted";
inline constexpr const char* kResultNotFound = "The file could not be found";
inline constexpr const char* kResultCouldNotOpen = "Could not open source file";
inline constexpr const char* kResultCouldNotConvert = "Could not convert to c3d file";

// Turns one WDQ file into the C3D file beside it and records the outcome with the host.
class CConversionJob {
public:
    explicit CConversionJob(CJobHost& host, CFileSystem& fileSystem = GetDiskFileSystem())
        : m_host(host), m_fileSystem(fileSystem)
    {
    }

    // strPath must be a full path. True only for a file converted in batch mode; a
    // conversion outside batch mode ends with the host's ExitInstance and false.
    bool OnOpenDocument(const std::string& strPath);

private:
    CJobHost& m_host;
    CFileSystem& m_fileSystem;
};

// The target beside the source: the source's extension (if any) replaced by ".c3d".
// bWindowsPaths makes "\" and a drive's ":" separators too, as on Windows.
std::string MakeTargetPath(const std::string& strSource, bool bWindowsPaths =
#ifdef _WIN32
                                                             true
#else
                                                              false
#endif
);

} // namespace tarvek
