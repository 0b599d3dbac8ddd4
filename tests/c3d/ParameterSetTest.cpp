#include "tests/support/COpenedRecording.h"

#include <gtest/gtest.h>

namespace tarvek::test {
namespace {

CWdqBuilder Recording(int nChannels, const std::vector<std::string>& annotations)
{
    CWdqBuilder builder;
    builder.m_nHeaderSize = 5296;
    builder.m_nChannelByte = static_cast<std::uint8_t>(nChannels);
    builder.m_words.assign(static_cast<std::size_t>(nChannels), 0);
    builder.SetAnnotations(annotations);
    return builder;
}

std::vector<std::uint8_t> Dims(const CParam& param)
{
    return param.m_pDims;
}

TEST(ParameterSet, GroupsAndParametersInFileOrder)
{
    COpenedRecording recording(Recording(2, {}));
    ASSERT_TRUE(recording.m_bOpened);
    const CCod& cod = recording.m_cod;
    ASSERT_EQ(cod.m_groups.size(), 3u);
    const char* groups[][2] = {
        {"ANALOG", "Analog Parameters"}, {"POINT", "Point Parameters"}, {"EMG", "EMG Parameters"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(cod.m_groups[i]->m_strName, groups[i][0]);
        EXPECT_EQ(cod.m_groups[i]->m_strDescription, groups[i][1]);
        EXPECT_EQ(cod.m_groups[i]->m_nId, -static_cast<int>(i) - 1);
        EXPECT_NE(cod.m_groups[i]->m_bLocked, 0);
    }
    struct Expected {
        int nGroup;
        const char* pszName;
        const char* pszDescription;
        int bLocked;
        int nType;
        std::vector<std::uint8_t> dims;
    };
    const Expected expected[] = {
        {1, "GEN_SCALE", "General Scale Factor", 1, 4, {}},
        {1, "USED", "Number of analog channels used", 1, 2, {}},
        {1, "SCALE", "Analog scale factors", 1, 4, {2}},
        {1, "OFFSET", "Analog Offsets", 1, 2, {2}},
        {1, "UNITS", "Analog units", 0, -1, {1, 2}},
        {1, "LABELS", "Analog labels", 1, -1, {5, 2}},
        {1, "DESCRIPTIONS", "Analog descriptions", 1, -1, {11, 2}},
        {1, "RATE", "Analog Base Sampling Rate", 1, 4, {}},
        {1, "BITS", "Analog Data Sample Resolution", 1, 2, {}},
        {1, "FORMAT", "Analog Data format", 1, -1, {12, 1}},
        {3, "TYPE", "Channel Type", 1, 1, {2}},
        {3, "SIDE", "Channel Side", 1, -1, {1, 2}},
        {2, "RATE", "Video sampling rate", 1, 4, {}},
    };
    ASSERT_EQ(cod.m_params.size(), 13u);
    EXPECT_EQ(cod.m_nNextParam, 13);
    for (std::size_t i = 0; i < 13; ++i) {
        const CParam& param = *cod.m_params[i];
        EXPECT_EQ(param.m_nGroupId, expected[i].nGroup) << i;
        EXPECT_EQ(param.m_strName, expected[i].pszName) << i;
        EXPECT_EQ(param.m_strDescription, expected[i].pszDescription) << i;
        EXPECT_EQ(param.m_bLocked, expected[i].bLocked) << i;
        EXPECT_EQ(param.m_nType, expected[i].nType) << i;
        EXPECT_EQ(Dims(param), expected[i].dims) << i;
        EXPECT_EQ(param.m_nDims, expected[i].dims.size()) << i;
    }
    EXPECT_EQ(recording.Param("Analog", "Used").GetInteger(0), 2);
    EXPECT_EQ(recording.Param("Analog", "Bits").GetInteger(0), 12);
    EXPECT_EQ(recording.Param("Analog", "Gen_Scale").GetFloat(0), 1.0f);
    EXPECT_EQ(recording.Param("Analog", "Rate").GetFloat(0), 1000.0f);
    EXPECT_EQ(recording.Param("Point", "Rate").GetFloat(0), 50.0f);
    EXPECT_EQ(recording.Param("Analog", "Format").m_strings, std::vector<std::string>{"SIGNED"});
    EXPECT_EQ(recording.Param("Analog", "Units").m_strings, (std::vector<std::string>{"V", "V"}));
    EXPECT_EQ(recording.Param("EMG", "Type").GetInteger(1), 0);
}

TEST(ParameterSet, AnnotationsGiveDescriptionsAndSides)
{
    COpenedRecording recording(Recording(4, {"Left Quad", "", "RIGHT HAMSTRING", "beyond", "the channels"}));
    ASSERT_TRUE(recording.m_bOpened);
    const CParam& descriptions = recording.Param("Analog", "Descriptions");
    EXPECT_EQ(descriptions.m_strings,
              (std::vector<std::string>{"Left Quad", "Channel 002", "RIGHT HAMSTRING", "beyond"}));
    EXPECT_EQ(Dims(descriptions), (std::vector<std::uint8_t>{15, 4}));
    EXPECT_EQ(recording.Param("EMG", "Side").m_strings, (std::vector<std::string>{"L", "N", "R", "N"}));
    EXPECT_EQ(recording.Param("Analog", "Labels").m_strings,
              (std::vector<std::string>{"CH001", "CH002", "CH003", "CH004"}));
    EXPECT_EQ(recording.Param("Analog", "Used").GetInteger(0), 4);
}

TEST(ParameterSet, SideIsFoundAnywhereInTheAnnotationLeftFirst)
{
    COpenedRecording recording(
        Recording(4, {"LEFT FOOT SWITCH", "right foot, left lead", "uprighted", "Cleft"}));
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.Param("EMG", "Side").m_strings, (std::vector<std::string>{"L", "L", "R", "L"}));
}

TEST(ParameterSet, ManyChannelsAndLongAnnotations)
{
    // Descriptions beyond the one-byte width are cut to it when written.
    COpenedRecording recording(Recording(255, {std::string(300, 'x')}));
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.Param("Analog", "Labels").m_strings.back(), "CH255");
    EXPECT_EQ(Dims(recording.Param("Analog", "Descriptions")), (std::vector<std::uint8_t>{255, 255}));
    for (const char* pszName : {"Scale", "Offset"})
        EXPECT_EQ(Dims(recording.Param("Analog", pszName)), std::vector<std::uint8_t>{255});
    EXPECT_EQ(Dims(recording.Param("EMG", "Type")), std::vector<std::uint8_t>{255});
}

TEST(ParameterSet, DataStartIsAppendedForTheWriterOnly)
{
    COpenedRecording recording(Recording(1, {}));
    ASSERT_TRUE(recording.m_bOpened);
    recording.m_cod.AddDataStart();
    ASSERT_EQ(recording.m_cod.m_params.size(), 14u);
    const CParam& dataStart = *recording.m_cod.m_params[13];
    EXPECT_EQ(dataStart.m_strName, "Data_Start");
    EXPECT_EQ(dataStart.m_strDescription, "Starting Record of Data");
    EXPECT_EQ(dataStart.m_nGroupId, 2);
    EXPECT_EQ(dataStart.m_nType, 2);
    EXPECT_EQ(dataStart.m_nDims, 0);
    EXPECT_EQ(dataStart.GetInteger(0), 12);
    EXPECT_EQ(recording.m_cod.FindParam("Point", "Data_Start"), 13);
}

TEST(ParameterSet, CalibrationComesFromEachChannelsEntry)
{
    CWdqBuilder builder = Recording(5, {});
    builder.m_calibration = {
        {0.00030517578125, 0.0}, {0.1, -512.0}, {2.0, 12.7}, {3.0, -12.7}, {4.0, 70000.9}};
    std::vector<std::uint8_t> bytes = builder.Build();
    for (int i = 0; i < 8; ++i)
        bytes[110 + 36 * 1 + i] = 0xEE; // the first 8 bytes of an entry carry nothing
    COpenedRecording recording(bytes);
    ASSERT_TRUE(recording.m_bOpened);
    const CParam& scale = recording.Param("Analog", "Scale");
    const CParam& offset = recording.Param("Analog", "Offset");
    const float scales[] = {0.00030517578125f, 0.1f, 2.0f, 3.0f, 4.0f};
    const int offsets[] = {0, -512, 12, -12, 4464};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scale.GetFloat(i), scales[i]) << i;
        EXPECT_EQ(offset.GetInteger(i), offsets[i]) << i;
    }
}

TEST(ParameterSet, LegacyCalibrationIsReadAtTheSameEntries)
{
    CWdqBuilder builder = Recording(2, {});
    builder.m_nHeaderSize = 1156;
    builder.m_calibration = {{0.5, 7.0}, {0.25, -7.0}};
    COpenedRecording recording(builder);
    ASSERT_TRUE(recording.m_bOpened);
    EXPECT_EQ(recording.Param("Analog", "Scale").GetFloat(1), 0.25f);
    EXPECT_EQ(recording.Param("Analog", "Offset").GetInteger(1), -7);
}

} // namespace
} // namespace tarvek::test
