// The Windows file layer on a real disk: wide file names, other programs' sharing modes,
// the read-only attribute, atomic replacement and 64-bit offsets.

#include "engine/CCod.h"
#include "engine/CConversionJob.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <windows.h>

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

std::wstring Wide(const std::string& strPath)
{
    return std::filesystem::u8path(strPath).wstring();
}

// Closes a handle that a test holds as another program would.
class COtherProgram {
public:
    COtherProgram(const std::string& strPath, DWORD nAccess, DWORD nShare)
        : m_hFile(::CreateFileW(Wide(strPath).c_str(), nAccess, nShare, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~COtherProgram()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }
    COtherProgram(const COtherProgram&) = delete;
    COtherProgram& operator=(const COtherProgram&) = delete;

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile;
};

// One channel of 25 samples at 1000 per second: 20 per frame, one frame, 5 dropped.
CWdqBuilder Recording()
{
    CWdqBuilder builder;
    builder.SetAnnotations({"Left Quad"});
    const std::uint16_t words[] = {0x0004, 0xFFFC, 0x8000, 0x7FFC, 0x0007, 0xFFFF, 0x0000};
    for (std::size_t s = 0; s < 25; ++s)
        builder.m_words.push_back(s < std::size(words) ? words[s] : static_cast<std::uint16_t>(s << 2));
    return builder;
}

class WindowsDisk : public ::testing::Test {
protected:
    WindowsDisk() { m_host.m_records.m_bBatchMode = true; }

    const ConversionRecord& LastRecord() const { return m_host.m_records.m_records.back(); }

    CScratchDir m_dir;
    CRecordingHost m_host;
    CConversionJob m_job{m_host};
};

TEST_F(WindowsDisk, ConvertsAFileWithANonAsciiNameToTheSameBytesAsEverywhere)
{
    const std::string strSource = m_dir.Write("Müller-Ärmel-測試.wdq", Recording().Build());
    ASSERT_TRUE(m_job.OnOpenDocument(strSource)) << ::testing::PrintToString(m_host.MessageTexts());
    EXPECT_EQ(LastRecord().m_strTarget, m_dir.Path("Müller-Ärmel-測試.c3d"));
    EXPECT_EQ(LastRecord().m_strResult, "Converted");

    // The names on disk are the wide names, not their ANSI code page approximations.
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.m_path))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"M\u00FCller-\u00C4rmel-\u6E2C\u8A66.c3d",
                                                L"M\u00FCller-\u00C4rmel-\u6E2C\u8A66.wdq"}));

    // Header block, section header and data as worked out for this recording: 20 values per
    // frame, one frame, data start block 4, 50 frames per second; samples are the words
    // shifted right by two with their sign.
    const Bytes file = CScratchDir::Read(LastRecord().m_strTarget);
    ASSERT_EQ(file.size(), 1536u + 2 * 20);
    const Bytes header = {0x02, 0x50, 0,    0,    0x14, 0, 0x01, 0, 0x01, 0, 0,    0,
                          0,    0,    0x80, 0x3F, 0x04, 0, 0x14, 0, 0,    0, 0x48, 0x42};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 24), header);
    EXPECT_EQ(Bytes(file.begin() + 24, file.begin() + 512), Bytes(488, 0));
    EXPECT_EQ(Bytes(file.begin() + 512, file.begin() + 516), (Bytes{0x01, 0x50, 0x02, 0x54}));
    EXPECT_EQ(file[1105], 0) << "E = 1106 for one channel annotated Left Quad";
    EXPECT_EQ(Bytes(file.begin() + 1106, file.begin() + 1536), Bytes(430, 0));
    Bytes data = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0xE0, 0xFF, 0x1F, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00};
    for (std::uint8_t s = 7; s < 20; ++s)
        data.insert(data.end(), {s, 0x00});
    EXPECT_EQ(Bytes(file.begin() + 1536, file.end()), data);
}

TEST_F(WindowsDisk, ATargetThatCannotBeWrittenIsLeftAsItWas)
{
    const Bytes old = {'o', 'l', 'd'};
    for (const bool bReadOnly : {false, true}) {
        SCOPED_TRACE(bReadOnly ? "read-only" : "open without sharing");
        const std::string strSource = m_dir.Write("trial.wdq", Recording().Build());
        const std::string strTarget = m_dir.Write("trial.c3d", old);
        m_host.m_messages.clear();
        std::unique_ptr<COtherProgram> other;
        if (bReadOnly) {
            ASSERT_TRUE(::SetFileAttributesW(Wide(strTarget).c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            other = std::make_unique<COtherProgram>(strTarget, GENERIC_READ, 0);
            ASSERT_TRUE(other->IsOpen());
        }
        EXPECT_FALSE(m_job.OnOpenDocument(strSource));
        other.reset();
        EXPECT_EQ(LastRecord().m_strResult, "Could not convert to c3d file");
        EXPECT_EQ(m_host.MessageTexts(),
                  (Texts{"Could not open file to write", "Could not convert to c3d file"}));
        ::SetFileAttributesW(Wide(strTarget).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(CScratchDir::Read(strTarget), old);
        EXPECT_EQ(m_dir.List().size(), 2u) << "no temporary file is left";
    }
}

TEST_F(WindowsDisk, AnExistingTargetIsReplacedWhole)
{
    const std::string strSource = m_dir.Write("trial.wdq", Recording().Build());
    const std::string strTarget = m_dir.Write("trial.c3d", Bytes(5000, 0xAA));
    ASSERT_TRUE(m_job.OnOpenDocument(strSource));
    const Bytes file = CScratchDir::Read(strTarget);
    EXPECT_EQ(file.size(), 1576u);
    EXPECT_EQ(file[0], 0x02);
    EXPECT_EQ(m_dir.List().size(), 2u);
}

TEST_F(WindowsDisk, ASourceTheLoggerStillWritesConverts)
{
    const std::string strSource = m_dir.Write("trial.wdq", Recording().Build());
    // A logger writes and lets others read, but grants no more than that.
    COtherProgram logger(strSource, GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_TRUE(logger.IsOpen());
    EXPECT_TRUE(m_job.OnOpenDocument(strSource)) << ::testing::PrintToString(m_host.MessageTexts());
}

TEST_F(WindowsDisk, OnlyARegularFileOpensAsASource)
{
    std::filesystem::create_directory(m_dir.m_path / "trial.wdq");
    const std::string strFolder = m_dir.Path("trial.wdq");
    CFileSystem& disk = GetDiskFileSystem();
    for (const std::string& strPath : {strFolder, std::string("NUL"), std::string("CON"),
                                       std::string("\\\\.\\NUL"), m_dir.Path("missing.wdq")}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(disk.OpenRead(strPath), nullptr) << strPath;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << strPath;
    }
    EXPECT_FALSE(m_job.OnOpenDocument(strFolder));
    EXPECT_EQ(LastRecord().m_strResult, "Could not open source file");
    EXPECT_EQ(m_host.MessageTexts(), Texts{"Could not open file " + strFolder});
}

TEST_F(WindowsDisk, ASourceThatIsItsOwnTargetInAnotherCaseIsRefused)
{
    const Bytes recording = Recording().Build();
    const std::string strSource = m_dir.Write("TRIAL.C3D", recording);
    EXPECT_TRUE(GetDiskFileSystem().IsSameFile(strSource, m_dir.Path("trial.c3d")));
    EXPECT_FALSE(GetDiskFileSystem().IsSameFile(strSource, m_dir.Write("other.c3d", recording)));
    EXPECT_FALSE(m_job.OnOpenDocument(strSource));
    EXPECT_EQ(m_host.MessageTexts(),
              (Texts{"The target file is the source file", "Could not convert to c3d file"}));
    EXPECT_EQ(CScratchDir::Read(strSource), recording);
}

TEST_F(WindowsDisk, OffsetsBeyondFourGigabytes)
{
    // A sparse file, so that the disk holds a few bytes, not gigabytes.
    const std::string strPath = m_dir.Path("sparse.bin");
    const std::uint64_t nOffset = (std::uint64_t{5} << 30) + 3;
    {
        const HANDLE hFile = ::CreateFileW(Wide(strPath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
        DWORD nReturned = 0;
        ::DeviceIoControl(hFile, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &nReturned, nullptr);
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(nOffset);
        ASSERT_TRUE(::SetFilePointerEx(hFile, position, nullptr, FILE_BEGIN));
        DWORD nWritten = 0;
        ASSERT_TRUE(::WriteFile(hFile, "WDQ", 3, &nWritten, nullptr));
        ::CloseHandle(hFile);
    }
    const std::unique_ptr<CFile> file = GetDiskFileSystem().OpenRead(strPath);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetLength(), nOffset + 3);
    file->Seek(nOffset - 1);
    char szBytes[8] = {};
    EXPECT_EQ(file->ReadZeroFilled(szBytes, sizeof szBytes), 4u);
    EXPECT_EQ(std::string(szBytes, 4), std::string("\0WDQ", 4));
    EXPECT_EQ(file->GetPosition(), nOffset + 3);
}

TEST_F(WindowsDisk, AFailedReplaceCarriesTheSystemsReason)
{
    CFileSystem& disk = GetDiskFileSystem();
    try {
        disk.Replace(m_dir.Path("missing.tmp"), m_dir.Path("trial.c3d"));
        FAIL() << "a missing temporary file was put in place";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_eKind, CFileException::EKind::Write);
        ASSERT_FALSE(error.m_strReason.empty());
        EXPECT_NE(error.m_strReason.back(), '\n');
        EXPECT_EQ(error.m_strReason.find("Windows error"), std::string::npos) << error.m_strReason;
    }
}

} // namespace
} // namespace tarvek::test
