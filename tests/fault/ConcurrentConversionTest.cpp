// Two tarvek-cli processes converting the same recording at once: each finishes its own
// temporary file and renames it over the target, so the target is always one whole
// conversion, never a mixture, and no temporary file is left.

#ifndef _WIN32

#include "engine/CConversionJob.h"
#include "tests/support/CRecordingHost.h"
#include "tests/support/CScratchDir.h"
#include "tests/support/CWdqBuilder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

extern char **environ;

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 6.4 MB of samples: long enough for the two conversions to overlap.
Bytes Recording()
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 1000;
    builder.m_nChannelByte = 16;
    builder.m_words.resize(16 * 200000);
    for (std::size_t k = 0; k < builder.m_words.size(); ++k)
        builder.m_words[k] = static_cast<std::uint16_t>(k * 2654435761u >> 7);
    return builder.Build();
}

pid_t StartCli(const std::string &strSource)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string strProgram = TARVEK_CLI_PATH;
    std::string strSourceArg = strSource;
    char *argv[] = {strProgram.data(), strSourceArg.data(), nullptr};
    pid_t pid = -1;
    const int nError = posix_spawn(&pid, strProgram.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return nError == 0 ? pid : -1;
}

int Wait(pid_t pid)
{
    int nStatus = 0;
    if (::waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus))
        return -1;
    return WEXITSTATUS(nStatus);
}

TEST(ConcurrentConversion, TwoProcessesOnOneSourceLeaveOneWholeTarget)
{
    const Bytes source = Recording();

    CScratchDir reference;
    CRecordingHost host;
    host.m_records.m_bBatchMode = true;
    ASSERT_TRUE(CConversionJob(host).OnOpenDocument(reference.Write("trial.wdq", source)));
    const Bytes expected = CScratchDir::Read(reference.Path("trial.c3d"));

    CScratchDir dir;
    const std::string strSource = dir.Write("trial.wdq", source);
    const Bytes old = {'o', 'l', 'd'};
    dir.Write("trial.c3d", old);
    int nSnapshots = 0;
    for (int nRound = 0; nRound < 5; ++nRound) {
        SCOPED_TRACE("round " + std::to_string(nRound));
        const pid_t first = StartCli(strSource);
        const pid_t second = StartCli(strSource);
        ASSERT_GT(first, 0);
        ASSERT_GT(second, 0);
        // Whoever looks at the target meanwhile sees a whole file, old or new.
        int nFinished = 0;
        while (nFinished == 0) {
            const Bytes snapshot = CScratchDir::Read(dir.Path("trial.c3d"));
            EXPECT_TRUE(snapshot == expected || snapshot == old) << snapshot.size() << " bytes";
            ++nSnapshots;
            int nStatus;
            nFinished = ::waitpid(first, &nStatus, WNOHANG);
            if (nFinished == first) {
                EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
            }
        }
        if (nFinished < 0)
            ADD_FAILURE() << "waitpid failed";
        EXPECT_EQ(Wait(second), 0);
        EXPECT_EQ(CScratchDir::Read(dir.Path("trial.c3d")), expected);
        std::vector<std::string> names = dir.List();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"trial.c3d", "trial.wdq"}));
        dir.Write("trial.c3d", old);
    }
    EXPECT_GT(nSnapshots, 5);
    EXPECT_EQ(CScratchDir::Read(strSource), source);
}

} // namespace
} // namespace tarvek::test

#endif
