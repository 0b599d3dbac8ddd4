// tarvek-cli on Windows takes its arguments from the wide command line and prints UTF-8,
// so that names outside the ANSI code page reach the job whole.

#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace tarvek::test {
namespace {

struct CliRun {
    DWORD nExit = 255;
    std::string strOut;
};

// Runs tarvek-cli in strFolder with one argument; its output goes to a file there.
CliRun RunCli(const CScratchDir& dir, const std::wstring& wstrArgument)
{
    const std::wstring wstrOut = std::filesystem::u8path(dir.Path("out.txt")).wstring();
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE hOut = ::CreateFileW(wstrOut.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CliRun run;
    if (hOut == INVALID_HANDLE_VALUE)
        return run;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = hOut;
    startup.hStdError = hOut;
    const std::wstring wstrProgram = std::filesystem::u8path(TARVEK_CLI_PATH).wstring();
    std::wstring wstrCommand = L"\"" + wstrProgram + L"\" \"" + wstrArgument + L"\"";
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(wstrProgram.c_str(), wstrCommand.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         dir.m_path.wstring().c_str(), &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &run.nExit);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(hOut);
    const std::vector<std::uint8_t> out = CScratchDir::Read(dir.Path("out.txt"));
    run.strOut.assign(out.begin(), out.end());
    return run;
}

TEST(WindowsCli, ANonAsciiNameFromTheCommandLineIsConvertedAndPrintedAsUtf8)
{
    CScratchDir dir;
    CWdqBuilder builder;
    builder.m_words.assign(40, 0);
    const std::string strSource = dir.Write("Müller-Ärmel-測試.wdq", builder.Build());
    const CliRun run = RunCli(dir, L"M\u00FCller-\u00C4rmel-\u6E2C\u8A66.wdq");
    EXPECT_EQ(run.nExit, 0u) << run.strOut;
    const std::string strTarget = dir.Path("Müller-Ärmel-測試.c3d");
    EXPECT_EQ(run.strOut, "Converted: " + strSource + " -> " + strTarget + "\r\n");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(strTarget)));
}

} // namespace
} // namespace tarvek::test
