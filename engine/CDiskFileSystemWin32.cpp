#include "engine/CFileSystem.h"

#include <algorithm>
#include <random>
#include <utility>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tarvek {

namespace {

// Paths are UTF-8 in the engine; the ANSI code page could not name every file.
std::wstring Wide(const std::string& str)
{
    if (str.empty())
        return {};
    const int nSize = static_cast<int>(str.size());
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, str.data(), nSize, nullptr, 0);
    std::wstring wstr(static_cast<std::size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, str.data(), nSize, wstr.data(), nWide);
    return wstr;
}

std::string Utf8(const wchar_t* pwsz, std::size_t nLength)
{
    if (nLength == 0)
        return {};
    const int nSize = static_cast<int>(nLength);
    const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, pwsz, nSize, nullptr, 0, nullptr, nullptr);
    std::string str(static_cast<std::size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, pwsz, nSize, str.data(), nBytes, nullptr, nullptr);
    return str;
}

std::string Reason(DWORD nError)
{
    wchar_t* pwszText = nullptr;
    const DWORD nLength = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        nError, 0, reinterpret_cast<wchar_t*>(&pwszText), 0, nullptr);
    if (nLength == 0)
        return "Windows error " + std::to_string(nError);
    std::string str = Utf8(pwszText, nLength);
    ::LocalFree(pwszText);
    while (!str.empty() && (str.back() == '\n' || str.back() == '\r' || str.back() == ' '))
        str.pop_back();
    return str;
}

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kMaxTransfer = 1u << 30;

class CWin32File : public CFile {
public:
    CWin32File(HANDLE hFile, CFileException::EKind eKind) : m_hFile(hFile), m_eKind(eKind) {}
    ~CWin32File() override
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }

    void Seek(std::uint64_t nPosition) override
    {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(nPosition);
        if (!::SetFilePointerEx(m_hFile, distance, nullptr, FILE_BEGIN))
            Fail(::GetLastError());
        m_nPosition = nPosition;
    }

    std::size_t Read(void* pBuffer, std::size_t nBytes) override
    {
        DWORD nRead = 0;
        if (!::ReadFile(m_hFile, pBuffer, static_cast<DWORD>(std::min(nBytes, kMaxTransfer)), &nRead,
                        nullptr)) {
            const DWORD nError = ::GetLastError();
            if (nError != ERROR_HANDLE_EOF)
                Fail(nError);
        }
        m_nPosition += nRead;
        return nRead;
    }

    void Write(const void* pBuffer, std::size_t nBytes) override
    {
        const auto* p = static_cast<const char*>(pBuffer);
        while (nBytes > 0) {
            DWORD nWritten = 0;
            if (!::WriteFile(m_hFile, p, static_cast<DWORD>(std::min(nBytes, kMaxTransfer)), &nWritten,
                             nullptr))
                Fail(::GetLastError());
            if (nWritten == 0)
                Fail(ERROR_DISK_FULL);
            p += nWritten;
            nBytes -= nWritten;
            m_nPosition += nWritten;
        }
    }

    std::uint64_t GetPosition() const override { return m_nPosition; }

    std::uint64_t GetLength() override
    {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(m_hFile, &size))
            Fail(::GetLastError());
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    void Close() override
    {
        if (m_hFile == INVALID_HANDLE_VALUE)
            return;
        const HANDLE hFile = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(hFile))
            Fail(::GetLastError());
    }

private:
    [[noreturn]] void Fail(DWORD nError) const { throw CFileException(m_eKind, Reason(nError)); }

    HANDLE m_hFile;
    CFileException::EKind m_eKind;
    std::uint64_t m_nPosition = 0;
};

// Closes a handle that only answers a question.
class CHandle {
public:
    explicit CHandle(HANDLE hFile) : m_hFile(hFile) {}
    ~CHandle()
    {
        if (IsOpen())
            ::CloseHandle(m_hFile);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hFile; }
    HANDLE Release() { return std::exchange(m_hFile, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_hFile;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A file on a disk, not a directory, console, printer port or pipe.
bool IsRegularFile(HANDLE hFile)
{
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileType(hFile) == FILE_TYPE_DISK && ::GetFileInformationByHandle(hFile, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Paths in the device namespace name no file; opening some devices can wait on hardware.
bool IsDevicePath(const std::string& strPath)
{
    return strPath.size() >= 4 && (strPath[0] == '\\' || strPath[0] == '/') &&
           (strPath[1] == '\\' || strPath[1] == '/') && strPath[2] == '.' &&
           (strPath[3] == '\\' || strPath[3] == '/');
}

class CWin32FileSystem : public CFileSystem {
public:
    bool Exists(const std::string& strPath) override
    {
        return ::GetFileAttributesW(Wide(strPath).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::unique_ptr<CFile> OpenRead(const std::string& strPath) override
    {
        if (IsDevicePath(strPath))
            return nullptr;
        // Without backup semantics a directory does not open; the logger may still have
        // the recording open, so every kind of sharing is granted.
        CHandle file(::CreateFileW(Wide(strPath).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file.IsOpen() || !IsRegularFile(file.Get()))
            return nullptr;
        return std::make_unique<CWin32File>(file.Release(), CFileException::EKind::Read);
    }

    bool IsSameFile(const std::string& strFirst, const std::string& strSecond) override
    {
        BY_HANDLE_FILE_INFORMATION a, b;
        return Identify(strFirst, a) && Identify(strSecond, b) &&
               a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
               a.nFileIndexLow == b.nFileIndexLow;
    }

    std::unique_ptr<CFile> CreateTemp(const std::string& strTarget, std::string& strTempPath) override
    {
        // An existing target must itself be writable and replaceable: not read-only (asked for
        // itself, since Wine run by root would open such a file for writing all the same), and
        // not held open by a program that denies others writing or deleting it.
        const std::wstring wstrTarget = Wide(strTarget);
        const DWORD nAttributes = ::GetFileAttributesW(wstrTarget.c_str());
        if (nAttributes != INVALID_FILE_ATTRIBUTES) {
            if (nAttributes & FILE_ATTRIBUTE_READONLY)
                return nullptr;
            CHandle target(::CreateFileW(wstrTarget.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!target.IsOpen() || !IsRegularFile(target.Get()))
                return nullptr;
        }
        const std::size_t nSeparator = strTarget.find_last_of("\\/:");
        const std::size_t nName = nSeparator == std::string::npos ? 0 : nSeparator + 1;
        const std::string strStem = strTarget.substr(0, nName) + "." + strTarget.substr(nName) + ".";
        std::random_device random;
        for (int nTry = 0; nTry < 100; ++nTry) {
            const std::string strCandidate = strStem + std::to_string(random()) + ".tmp";
            const HANDLE hFile = ::CreateFileW(Wide(strCandidate).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (hFile != INVALID_HANDLE_VALUE) {
                strTempPath = strCandidate;
                return std::make_unique<CWin32File>(hFile, CFileException::EKind::Write);
            }
            const DWORD nError = ::GetLastError();
            if (nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS)
                return nullptr;
        }
        return nullptr;
    }

    void Replace(const std::string& strTempPath, const std::string& strTarget) override
    {
        if (!::MoveFileExW(Wide(strTempPath).c_str(), Wide(strTarget).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw CFileException(CFileException::EKind::Write, Reason(::GetLastError()));
    }

    void Remove(const std::string& strPath) noexcept override { ::DeleteFileW(Wide(strPath).c_str()); }

private:
    static bool Identify(const std::string& strPath, BY_HANDLE_FILE_INFORMATION& info)
    {
        // No access beyond attributes, so that even a file open without sharing answers.
        CHandle file(::CreateFileW(Wide(strPath).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file.IsOpen() && ::GetFileInformationByHandle(file.Get(), &info);
    }
};

} // namespace

CFileSystem& GetDiskFileSystem()
{
    static CWin32FileSystem fileSystem;
    return fileSystem;
}

} // namespace tarvek
