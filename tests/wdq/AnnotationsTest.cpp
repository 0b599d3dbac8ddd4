#include "tests/support/COpenedRecording.h"

#include <gtest/gtest.h>

namespace tarvek::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

CWdqBuilder Recording(const Bytes& annotationArea)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 2000;
    builder.m_nChannelByte = 1;
    builder.m_words.assign(4, 0);
    builder.m_events = {9, 9, 9};
    builder.m_annotationArea = annotationArea;
    return builder;
}

TEST(Annotations, NulTerminatedStringsAfterTheEventArea)
{
    struct Case {
        Bytes area;
        std::vector<std::string> annotations;
    };
    const Case cases[] = {
        {{'A', 'B', 0, 0, 'C', 0}, {"AB", "", "C"}},
        {{'A', 'B', 0, 'C'}, {"AB"}},
        {{}, {}},
        {{0}, {""}},
    };
    for (const Case& c : cases) {
        COpenedRecording recording(Recording(c.area));
        ASSERT_TRUE(recording.m_bOpened);
        EXPECT_EQ(recording.m_cod.m_annotations, c.annotations);
        EXPECT_EQ(recording.m_cod.m_nTrailerOffset, 2008u);
        EXPECT_EQ(recording.m_cod.m_nEventBytes, 3u);
    }
}

TEST(Annotations, OnlyTheBytesTheFileHoldsAreRead)
{
    // The count claims the whole 16-bit range; the file ends after "AB", NUL, "C".
    CWdqBuilder builder = Recording({'A', 'B', 0, 'C'});
    builder.m_nAnnotationBytes = 65535;
    COpenedRecording recording(builder);
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.m_cod.m_nAnnotationBytes, 65535);
    EXPECT_EQ(recording.m_cod.m_annotations, std::vector<std::string>{"AB"});
}

TEST(Annotations, AnAreaBeyondTheEndOfTheFileGivesNone)
{
    CWdqBuilder builder = Recording({'A', 0});
    builder.m_nDataBytes = 8;
    builder.m_events.clear();
    std::vector<std::uint8_t> bytes = builder.Build();
    bytes.resize(bytes.size() - 2);
    bytes[12] = 0xFF; // event count far past the end
    COpenedRecording recording(bytes);
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_TRUE(recording.m_cod.m_annotations.empty());
}

} // namespace
} // namespace tarvek::test
