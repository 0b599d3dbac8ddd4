// tarvek-bench: times tarvek-cli on a large generated recording against a plain copy of
// the same file, side by side, and reports the peak resident memory of the conversion.

#include "tests/support/CWdqBuilder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: tarvek-bench [MiB] [--runs N] [--dir DIR] [--cold] [--sync] [--keep] [--cli PATH]\n"
    "\n"
    "Writes a recording of 16 channels at 2000 samples per second with MiB of sample data\n"
    "(512 by default, at most 3999), converts it with tarvek-cli and copies it with read and\n"
    "write in 1 MiB blocks once to check the target and warm up, then N times more (3 by\n"
    "default), alternating which goes first, and prints the medians.\n"
    "\n"
    "  --dir DIR   where the files go (default: the system's temporary folder)\n"
    "  --cold      drop the recording from the page cache before each conversion and copy\n"
    "  --sync      count the flush of the output to disk in each time\n"
    "  --keep      keep the recording, to time other programs on it\n"
    "  --cli PATH  the converter to time (default: the one built beside this program)\n";

constexpr int kChannels = 16;
constexpr double kRate = 2000;
constexpr std::size_t kBlockBytes = 1 << 20;
constexpr std::uint64_t kMaxMiB = 3999;
constexpr double kMiB = 1024.0 * 1024.0;

// Every bit pattern turns up, the two low bits and the sign included, so that a wrong
// decode cannot pass the check.
std::uint16_t SampleWord(std::uint64_t k)
{
    return static_cast<std::uint16_t>((k * 0x9E3779B97F4A7C15ull) >> 48);
}

[[noreturn]] void Fail(const std::string& strWhat)
{
    throw std::runtime_error(strWhat);
}

[[noreturn]] void FailErrno(const std::string& strWhat)
{
    Fail(strWhat + ": " + std::strerror(errno));
}

class CFd {
public:
    CFd(const std::string& strPath, int nFlags) : m_strPath(strPath)
    {
        m_fd = ::open(strPath.c_str(), nFlags | O_CLOEXEC, 0644);
        if (m_fd < 0)
            FailErrno(strPath);
    }
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    std::size_t Read(std::uint8_t* p, std::size_t nBytes)
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, p, nBytes);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                FailErrno(m_strPath);
        }
    }
    void ReadAll(std::uint8_t* p, std::size_t nBytes)
    {
        while (nBytes > 0) {
            const std::size_t n = Read(p, nBytes);
            if (n == 0)
                Fail(m_strPath + ": ends early");
            p += n;
            nBytes -= n;
        }
    }
    void WriteAll(const std::uint8_t* p, std::size_t nBytes)
    {
        while (nBytes > 0) {
            const ssize_t n = ::write(m_fd, p, nBytes);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                FailErrno(m_strPath);
            p += n;
            nBytes -= static_cast<std::size_t>(n);
        }
    }
    void Sync()
    {
        if (::fdatasync(m_fd) != 0)
            FailErrno(m_strPath);
    }
    // Clean pages only: a file is synced before it is dropped.
    void DropFromCache()
    {
        Sync();
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_DONTNEED);
    }

private:
    std::string m_strPath;
    int m_fd;
};

std::uint64_t FileSize(const std::string& strPath)
{
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0)
        FailErrno(strPath);
    return static_cast<std::uint64_t>(st.st_size);
}

// The recording as a data logger leaves it: header, sample words, annotations. The
// samples are written as they are made, so the generator's memory stays small too.
void WriteRecording(const std::string& strPath, std::uint32_t nDataBytes)
{
    tarvek::test::CWdqBuilder builder;
    builder.m_nChannelByte = kChannels;
    builder.m_nHeaderSize = 110 + 36 * kChannels + 2;
    builder.m_fInterval = 1.0 / kRate;
    builder.m_nDataBytes = nDataBytes;
    std::vector<std::string> annotations;
    for (int c = 1; c <= kChannels; ++c)
        annotations.push_back("EMG " + std::to_string(c));
    builder.SetAnnotations(annotations);

    CFd file(strPath, O_WRONLY | O_CREAT | O_TRUNC);
    const std::vector<std::uint8_t> header = builder.BuildHeader();
    file.WriteAll(header.data(), header.size());
    std::vector<std::uint8_t> block(kBlockBytes);
    std::uint64_t k = 0;
    for (std::uint64_t nLeft = nDataBytes; nLeft > 0;) {
        const std::size_t nBytes = static_cast<std::size_t>(std::min<std::uint64_t>(nLeft, block.size()));
        for (std::size_t i = 0; i < nBytes; i += 2, ++k) {
            const std::uint16_t nWord = SampleWord(k);
            block[i] = static_cast<std::uint8_t>(nWord);
            block[i + 1] = static_cast<std::uint8_t>(nWord >> 8);
        }
        file.WriteAll(block.data(), nBytes);
        nLeft -= nBytes;
    }
    file.WriteAll(builder.m_annotationArea.data(), builder.m_annotationArea.size());
    file.Sync();
}

// The frame layout the converter must choose for this recording, worked out on its own.
struct CLayout {
    std::uint32_t m_nSamples;
    std::uint32_t m_nSamplesPerFrame;
    std::uint32_t m_nFrames;
    std::uint32_t m_nValuesPerFrame;
};

CLayout ExpectedLayout(std::uint32_t nDataBytes)
{
    CLayout layout{};
    layout.m_nSamples = nDataBytes / kChannels / 2;
    // 20 ms at 2000 per second is 40 samples; above 327680 samples per channel the
    // length alone decides.
    layout.m_nSamplesPerFrame = 40;
    if (layout.m_nSamples > 327680)
        layout.m_nSamplesPerFrame = layout.m_nSamples / 32000 + 1;
    layout.m_nFrames = layout.m_nSamples / layout.m_nSamplesPerFrame;
    layout.m_nValuesPerFrame = kChannels * layout.m_nSamplesPerFrame;
    return layout;
}

std::uint16_t U16At(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Header words and length, then every value of the data section against the decoded words.
std::uint32_t VerifyTarget(const std::string& strPath, const CLayout& layout)
{
    CFd file(strPath, O_RDONLY);
    std::uint8_t header[512];
    file.ReadAll(header, sizeof header);
    const std::uint32_t nValues = U16At(header + 4);
    const std::uint32_t nFrames = U16At(header + 8);
    const std::uint32_t nDataStart = U16At(header + 16);
    const std::uint32_t nPerFrame = U16At(header + 18);
    if (header[1] != 0x50 || nValues != layout.m_nValuesPerFrame || nFrames != layout.m_nFrames ||
        nPerFrame != layout.m_nSamplesPerFrame || nDataStart < 2)
        Fail(strPath + ": the header does not describe the recording's frames");
    const std::uint64_t nDataBytes = 2ull * nValues * nFrames;
    if (FileSize(strPath) != 512ull * (nDataStart - 1) + nDataBytes)
        Fail(strPath + ": its length is not 512 x (data start - 1) + 2 x V x F");

    std::vector<std::uint8_t> skip(512 * (nDataStart - 2));
    file.ReadAll(skip.data(), skip.size());
    std::vector<std::uint8_t> block(kBlockBytes);
    std::uint64_t k = 0;
    for (std::uint64_t nLeft = nDataBytes; nLeft > 0;) {
        const std::size_t nBytes = static_cast<std::size_t>(std::min<std::uint64_t>(nLeft, block.size()));
        file.ReadAll(block.data(), nBytes);
        for (std::size_t i = 0; i < nBytes; i += 2, ++k) {
            const auto nExpected = static_cast<std::uint16_t>(static_cast<std::int16_t>(SampleWord(k)) >> 2);
            if (U16At(&block[i]) != nExpected)
                Fail(strPath + ": value " + std::to_string(k) + " is not the decoded sample word");
        }
        nLeft -= nBytes;
    }
    return nDataStart;
}

using CClock = std::chrono::steady_clock;

double SecondsSince(CClock::time_point start)
{
    return std::chrono::duration<double>(CClock::now() - start).count();
}

double CpuSeconds(const struct rusage& usage)
{
    const auto Seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double OwnCpuSeconds()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

// Wall time decides; the processor time beside it shows how much of a slow run was spent
// waiting for a processor that other work on the machine held.
struct CTiming {
    double m_fSeconds = 0;
    double m_fCpuSeconds = 0;
    long m_nMaxRssKiB = 0;
};

CTiming Convert(const std::string& strCli, const std::string& strSource, const std::string& strTarget,
                bool bSync)
{
    const CClock::time_point start = CClock::now();
    const pid_t pid = ::fork();
    if (pid < 0)
        FailErrno("fork");
    if (pid == 0) {
        const int fd = ::open("/dev/null", O_WRONLY);
        if (fd >= 0)
            ::dup2(fd, STDOUT_FILENO);
        ::execl(strCli.c_str(), strCli.c_str(), strSource.c_str(), static_cast<char*>(nullptr));
        std::perror(strCli.c_str());
        ::_exit(127);
    }
    int nStatus = 0;
    struct rusage usage {};
    while (::wait4(pid, &nStatus, 0, &usage) < 0)
        if (errno != EINTR)
            FailErrno("wait4");
    if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
        Fail(strCli + " did not convert " + strSource);
    const double fOwnCpu = OwnCpuSeconds();
    if (bSync)
        CFd(strTarget, O_RDONLY).Sync();
    return {SecondsSince(start), CpuSeconds(usage) + OwnCpuSeconds() - fOwnCpu, usage.ru_maxrss};
}

// What dd if=SOURCE of=TARGET bs=1M does.
CTiming Copy(const std::string& strSource, const std::string& strTarget, bool bSync)
{
    std::vector<std::uint8_t> block(kBlockBytes);
    const double fCpu = OwnCpuSeconds();
    const CClock::time_point start = CClock::now();
    CFd source(strSource, O_RDONLY);
    CFd target(strTarget, O_WRONLY | O_CREAT | O_TRUNC);
    for (;;) {
        const std::size_t n = source.Read(block.data(), block.size());
        if (n == 0)
            break;
        target.WriteAll(block.data(), n);
    }
    if (bSync)
        target.Sync();
    return {SecondsSince(start), OwnCpuSeconds() - fCpu, 0};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Spread(std::vector<double> values, const char* pszFormat)
{
    const auto [pMin, pMax] = std::minmax_element(values.begin(), values.end());
    char sz[64];
    std::snprintf(sz, sizeof sz, pszFormat, *pMin, *pMax);
    return sz;
}

std::string DefaultCli()
{
    return TARVEK_CLI_PATH;
}

struct COptions {
    std::uint64_t m_nMiB = 512;
    int m_nRuns = 3;
    std::string m_strDir = std::filesystem::temp_directory_path().string();
    bool m_bCold = false;
    bool m_bSync = false;
    bool m_bKeep = false;
    std::string m_strCli = DefaultCli();
};

bool ParseOptions(int argc, char** argv, COptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        const bool bValue = i + 1 < argc;
        if (strArg == "--runs" && bValue)
            options.m_nRuns = std::atoi(argv[++i]);
        else if (strArg == "--dir" && bValue)
            options.m_strDir = argv[++i];
        else if (strArg == "--cli" && bValue)
            options.m_strCli = argv[++i];
        else if (strArg == "--cold")
            options.m_bCold = true;
        else if (strArg == "--sync")
            options.m_bSync = true;
        else if (strArg == "--keep")
            options.m_bKeep = true;
        else if (!strArg.empty() && strArg.find_first_not_of("0123456789") == std::string::npos)
            options.m_nMiB = std::strtoull(strArg.c_str(), nullptr, 10);
        else
            return false;
    }
    return options.m_nMiB >= 1 && options.m_nMiB <= kMaxMiB && options.m_nRuns >= 1;
}

void RemoveIfThere(const std::string& strPath)
{
    std::error_code error;
    std::filesystem::remove(strPath, error);
}

int Run(const COptions& options)
{
    const std::filesystem::path folder =
        std::filesystem::path(options.m_strDir) / ("tarvek-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    struct CRemoveFolder {
        std::filesystem::path m_path;
        ~CRemoveFolder()
        {
            std::error_code error;
            if (!m_path.empty())
                std::filesystem::remove_all(m_path, error);
        }
    } removeFolder{options.m_bKeep ? std::filesystem::path() : folder};
    const std::string strSource = (folder / "recording.wdq").string();
    const std::string strTarget = (folder / "recording.c3d").string();
    const std::string strCopy = (folder / "copy.wdq").string();

    const auto nDataBytes = static_cast<std::uint32_t>(options.m_nMiB << 20);
    const CLayout layout = ExpectedLayout(nDataBytes);
    std::printf("recording: %llu MiB of samples, %d channels at %g per second, %u samples per channel\n",
                static_cast<unsigned long long>(options.m_nMiB), kChannels, kRate, layout.m_nSamples);
    WriteRecording(strSource, nDataBytes);
    const std::uint64_t nSourceBytes = FileSize(strSource);
    const double fSourceMiB = static_cast<double>(nSourceBytes) / kMiB;
    std::printf("file:      %s, %llu bytes\n", strSource.c_str(),
                static_cast<unsigned long long>(nSourceBytes));
    std::printf("page cache: %s; output flushed to disk within the time: %s\n",
                options.m_bCold ? "cold (recording dropped before each step)" : "warm",
                options.m_bSync ? "yes" : "no");

    struct rusage self {};
    ::getrusage(RUSAGE_SELF, &self);
    std::printf("this program's own peak resident memory (a floor for the child's figure): %.1f MiB\n\n",
                static_cast<double>(self.ru_maxrss) / 1024);

    std::vector<double> convertSeconds, convertCpu, copySeconds, copyCpu, ratios, rss;
    std::printf("run  convert s  (cpu s)  MiB/s   copy s  (cpu s)  MiB/s   ratio  peak RSS MiB\n");
    // Run 0 checks the target and warms up what the first run alone would pay for: the
    // page cache and the memory behind it.
    for (int nRun = 0; nRun <= options.m_nRuns; ++nRun) {
        CTiming conversion, copy;
        // Alternating the order keeps a slow spell of the machine off one side only.
        for (int nStep = 0; nStep < 2; ++nStep) {
            const bool bConvert = (nStep == 0) == (nRun % 2 == 0);
            if (options.m_bCold)
                CFd(strSource, O_RDONLY).DropFromCache();
            if (bConvert) {
                conversion = Convert(options.m_strCli, strSource, strTarget, options.m_bSync);
                if (nRun == 0) {
                    const std::uint32_t nDataStart = VerifyTarget(strTarget, layout);
                    std::printf("     target: %u frames of %u samples per channel, V = %u; %llu bytes = "
                                "512 x (%u - 1) + 2 x %u x %u; every value checked\n",
                                layout.m_nFrames, layout.m_nSamplesPerFrame, layout.m_nValuesPerFrame,
                                static_cast<unsigned long long>(FileSize(strTarget)), nDataStart,
                                layout.m_nValuesPerFrame, layout.m_nFrames);
                }
                RemoveIfThere(strTarget);
            } else {
                copy = Copy(strSource, strCopy, options.m_bSync);
                if (FileSize(strCopy) != nSourceBytes)
                    Fail(strCopy + ": the copy is not whole");
                RemoveIfThere(strCopy);
            }
        }
        const double fRatio = conversion.m_fSeconds / copy.m_fSeconds;
        const double fRss = static_cast<double>(conversion.m_nMaxRssKiB) / 1024;
        std::printf("%-3d  %9.3f  (%5.3f)  %5.0f  %7.3f  (%5.3f)  %5.0f  %5.2f  %12.1f%s\n", nRun,
                    conversion.m_fSeconds, conversion.m_fCpuSeconds, fSourceMiB / conversion.m_fSeconds,
                    copy.m_fSeconds, copy.m_fCpuSeconds, fSourceMiB / copy.m_fSeconds, fRatio, fRss,
                    nRun == 0 ? "  (warm-up, not counted)" : "");
        std::fflush(stdout);
        rss.push_back(fRss);
        if (nRun == 0)
            continue;
        convertSeconds.push_back(conversion.m_fSeconds);
        convertCpu.push_back(conversion.m_fCpuSeconds);
        copySeconds.push_back(copy.m_fSeconds);
        copyCpu.push_back(copy.m_fCpuSeconds);
        ratios.push_back(fRatio);
    }

    const double fConvert = Median(convertSeconds);
    const double fCopy = Median(copySeconds);
    const double fRatio = Median(ratios);
    const double fRss = *std::max_element(rss.begin(), rss.end());
    std::printf("\nmedian of %d: conversion %.0f MiB/s (%.3f s, spread %s; cpu %.3f s), copy %.0f MiB/s "
                "(%.3f s, spread %s; cpu %.3f s)\n",
                options.m_nRuns, fSourceMiB / fConvert, fConvert, Spread(convertSeconds, "%.3f-%.3f").c_str(),
                Median(convertCpu), fSourceMiB / fCopy, fCopy, Spread(copySeconds, "%.3f-%.3f").c_str(),
                Median(copyCpu));
    std::printf("time of conversion / time of copy: %.2f (median; spread %s), goal at most 1.25: %s\n",
                fRatio, Spread(ratios, "%.2f-%.2f").c_str(), fRatio <= 1.25 ? "met" : "missed");
    std::printf(
        "peak resident memory of the conversion: %.1f MiB (highest of all runs), goal at most 32: %s\n", fRss,
        fRss <= 32 ? "met" : "missed");
    if (options.m_bKeep)
        std::printf("the recording stays: %s\n", strSource.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    COptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tarvek-bench: %s\n", error.what());
        return 1;
    }
}
