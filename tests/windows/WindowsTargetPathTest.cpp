// On Windows a drive's ":" and "\" separate path components as "/" does.

#include "engine/CConversionJob.h"

#include <gtest/gtest.h>

namespace tarvek::test {
namespace {

TEST(WindowsTargetPath, DrivesBackslashesAndShares)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\data\\trial.wdq", "C:\\data\\trial.c3d"},
        {"C:\\data\\trial.01.wdq", "C:\\data\\trial.01.c3d"},
        {"C:\\data\\trial", "C:\\data\\trial.c3d"},
        {"C:\\data.d\\trial", "C:\\data.d\\trial.c3d"},
        {"\\\\server\\share\\RUN.WDQ", "\\\\server\\share\\RUN.c3d"},
        {"\\\\server.lab\\share\\RUN", "\\\\server.lab\\share\\RUN.c3d"},
        {"C:/data.d/trial", "C:/data.d/trial.c3d"},
        {"C:trial.wdq", "C:trial.c3d"},
    };
    for (const auto& [pszSource, pszTarget] : cases)
        EXPECT_EQ(MakeTargetPath(pszSource), pszTarget) << pszSource;
}

} // namespace
} // namespace tarvek::test
