#pragma once

#include "CFile.h"

#include <memory>
#include <string>

namespace tarvek {

// Everything the engine asks of the file system. The job never touches the disk except
// through this interface, so tests and the fuzzer can put memory or injected faults under it.
class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    // Existence only; no access rights are asked.
    virtual bool Exists(const std::string& strPath) = 0;

    // Opens a regular file for reading without blocking; a directory, FIFO or device
    // yields null, as does a file that cannot be opened.
    virtual std::unique_ptr<CFile> OpenRead(const std::string& strPath) = 0;

    // True when both paths name one existing file (hard links and letter case included).
    virtual bool IsSameFile(const std::string& strFirst, const std::string& strSecond) = 0;

    // Creates a new temporary file in the folder of strTarget and returns it open for
    // writing, its path in strTempPath. Null when the target could not be written: an
    // existing target that is not writable, or a folder where nothing can be created.
    virtual std::unique_ptr<CFile> CreateTemp(const std::string& strTarget, std::string& strTempPath) = 0;

    // Puts the finished temporary file in place of strTarget in one step, replacing an
    // existing target. Raises a write CFileException on failure.
    virtual void Replace(const std::string& strTempPath, const std::string& strTarget) = 0;

    // Removes a file, best effort; used to clear away a temporary file after a failure.
    virtual void Remove(const std::string& strPath) noexcept = 0;
};

// The real disk of the platform this program runs on.
CFileSystem& GetDiskFileSystem();

} // namespace tarvek
