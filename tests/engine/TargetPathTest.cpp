#include "engine/CConversionJob.h"

#include <gtest/gtest.h>

namespace tarvek {
namespace {

TEST(TargetPath, ReplacesTheLastComponentsExtension)
{
    struct Case {
        const char* pszSource;
        bool bWindows;
        const char* pszTarget;
    };
    const Case cases[] = {
        {"C:\\data\\trial.wdq", true, "C:\\data\\trial.c3d"},
        {"C:\\data\\trial.01.wdq", true, "C:\\data\\trial.01.c3d"},
        {"C:\\data\\trial", true, "C:\\data\\trial.c3d"},
        {"C:\\data.d\\trial", true, "C:\\data.d\\trial.c3d"},
        {"\\\\server\\share\\RUN.WDQ", true, "\\\\server\\share\\RUN.c3d"},
        {"C:trial.wdq", true, "C:trial.c3d"},
        {"/data/trial.wdq", false, "/data/trial.c3d"},
        {"/data/trial.01.WDQ", false, "/data/trial.01.c3d"},
        {"/data.d/trial", false, "/data.d/trial.c3d"},
        {"/data/trial.c3d", false, "/data/trial.c3d"},
        {"/data/.wdq", false, "/data/.c3d"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeTargetPath(c.pszSource, c.bWindows), c.pszTarget) << c.pszSource;
}

} // namespace
} // namespace tarvek
