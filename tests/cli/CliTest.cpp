// tarvek-cli as a user runs it: a real process on files in a scratch folder, through a
// POSIX shell (the Windows build has its own command-line tests).

#ifndef _WIN32

#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvek::test {
namespace {

struct CliRun {
    int nExit;
    std::string strOut;
    std::string strErr;
};

// Runs the shell command line strArgs after the program's path, in strFolder.
CliRun RunCli(const std::string& strArgs, const std::string& strFolder = ".",
              const std::string& strPrefix = "")
{
    CScratchDir errors;
    const std::string strErrFile = errors.Path("stderr");
    const std::string strCommand = "cd '" + strFolder + "' && " + strPrefix + " '" TARVEK_CLI_PATH "' " +
                                   strArgs + " 2>'" + strErrFile + "'";
    CliRun run;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    char szBuffer[4096];
    std::size_t nRead;
    while ((nRead = std::fread(szBuffer, 1, sizeof szBuffer, pPipe)) > 0)
        run.strOut.append(szBuffer, nRead);
    const int nStatus = pclose(pPipe);
    run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    const std::vector<std::uint8_t> err = CScratchDir::Read(strErrFile);
    run.strErr.assign(err.begin(), err.end());
    return run;
}

std::vector<std::uint8_t> Recording(double fInterval = 0.001)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 1;
    builder.m_fInterval = fInterval;
    builder.m_words.assign(40, 0);
    return builder.Build();
}

TEST(Cli, JsonGivesOneObjectPerFileInOrder)
{
    CScratchDir dir;
    dir.Write("good.wdq", Recording());
    dir.Write("bad.wdq", Recording(-1));
    const std::string strDir = dir.Path("");
    const CliRun run = RunCli("--json good.wdq missing.wdq bad.wdq", dir.Path("."));
    EXPECT_EQ(run.nExit, 1);
    const std::string strGood = dir.Path("good.wdq"), strMissing = dir.Path("missing.wdq"),
                      strBad = dir.Path("bad.wdq");
    EXPECT_EQ(run.strOut,
              "{\"source\":\"" + strGood + "\",\"target\":\"" + dir.Path("good.c3d") +
                  "\",\"result\":\"Converted\",\"messages\":[],\"warnings\":[]}\n"
                  "{\"source\":\"" +
                  strMissing +
                  "\",\"target\":\"\",\"result\":\"The file could not be found\","
                  "\"messages\":[\"The selected file could not be found\"],\"warnings\":[]}\n"
                  "{\"source\":\"" +
                  strBad + "\",\"target\":\"" + dir.Path("bad.c3d") +
                  "\",\"result\":\"Could not open source file\",\"messages\":[\"Error in Sampling Rate\","
                  "\"Could not open file " +
                  strBad + "\"],\"warnings\":[]}\n");
    EXPECT_EQ(run.strErr, "");
}

TEST(Cli, TextOutputForAPerson)
{
    CScratchDir dir;
    dir.Write("good.wdq", Recording());
    dir.Write("bad.wdq", Recording(-1));
    CliRun run = RunCli("good.wdq", dir.Path("."));
    EXPECT_EQ(run.nExit, 0);
    EXPECT_EQ(run.strOut, "Converted: " + dir.Path("good.wdq") + " -> " + dir.Path("good.c3d") + "\n");
    run = RunCli("bad.wdq", dir.Path("."));
    EXPECT_EQ(run.nExit, 1);
    const std::string strBad = dir.Path("bad.wdq");
    EXPECT_EQ(run.strOut, "Could not open source file: " + strBad + " -> " + dir.Path("bad.c3d") + "\n");
    EXPECT_EQ(run.strErr,
              strBad + ": Error in Sampling Rate\n" + strBad + ": Could not open file " + strBad + "\n");
}

TEST(Cli, UsageHelpAndVersion)
{
    struct Case {
        const char* pszArgs;
        int nExit;
        const char* pszOut;
    };
    const Case cases[] = {
        {"", 2, ""},
        {"--frobnicate x.wdq", 2, ""},
        {"--json", 2, ""},
        {"--help", 0, "Usage: tarvek-cli"},
        {"--version", 0, "tarvek-cli 1.0.0.2\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.pszArgs);
        EXPECT_EQ(run.nExit, c.nExit) << c.pszArgs;
        EXPECT_EQ(run.strOut.substr(0, std::string(c.pszOut).size()), c.pszOut) << c.pszArgs;
        if (c.nExit == 2) {
            EXPECT_NE(run.strErr.find("Usage"), std::string::npos) << c.pszArgs;
        }
    }
}

TEST(Cli, InfoDescribesWithoutWriting)
{
    CScratchDir dir;
    dir.Write("trial.wdq", Recording());
    const CliRun run = RunCli("--info --json trial.wdq", dir.Path("."));
    EXPECT_EQ(run.nExit, 0);
    for (const char* pszField : {"\"channels\":1,", "\"sample_rate\":1000,", "\"samples\":40,",
                                 "\"samples_per_frame\":20,", "\"frame_rate\":50,", "\"frames\":2,"})
        EXPECT_NE(run.strOut.find(pszField), std::string::npos) << pszField << " in " << run.strOut;
    EXPECT_EQ(dir.List().size(), 1u);
}

TEST(Cli, AReadOnlyTargetIsLeftAsItWas)
{
    CScratchDir dir;
    dir.Write("trial.wdq", Recording());
    const std::string strTarget = dir.Write("trial.c3d", {7, 7, 7});
    ::chmod(strTarget.c_str(), 0444);
    // Root writes anything: run as nobody in a folder anyone may write.
    std::string strPrefix;
    if (::geteuid() == 0) {
        ::chmod(dir.Path(".").c_str(), 0777);
        strPrefix = "setpriv --reuid=nobody --regid=nogroup --clear-groups";
    }
    const CliRun run = RunCli("--json trial.wdq", dir.Path("."), strPrefix);
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(
        run.strOut.find("\"result\":\"Could not convert to c3d file\",\"messages\":[\"Could not open file to "
                        "write\",\"Could not convert to c3d file\"]"),
        std::string::npos)
        << run.strOut << run.strErr;
    EXPECT_EQ(CScratchDir::Read(strTarget), (std::vector<std::uint8_t>{7, 7, 7}));
    EXPECT_EQ(dir.List().size(), 2u);
}

} // namespace
} // namespace tarvek::test

#endif
