#include "c3d/CParam.h"
#include "engine/CCod.h"
#include "tests/support/CRecordingHost.h"

#include <gtest/gtest.h>
#include <limits>

namespace tarvek::test {
namespace {

CParam Numeric(std::int16_t nType, std::int16_t nValues)
{
    CParam param;
    param.m_nType = nType;
    param.m_nValues = nValues;
    param.m_pValues.assign(static_cast<std::size_t>(nValues), CParam::Slot{0xAA, 0xBB, 0xCC, 0xDD});
    return param;
}

TEST(Param, SetValueTruncatesAndKeepsTheLowBits)
{
    const float fInf = std::numeric_limits<float>::infinity();
    struct Case {
        std::int16_t nType;
        float fValue;
        std::uint8_t b0, b1;
    };
    const Case cases[] = {
        {CParam::kByte, 2.9f, 2, 0xBB},
        {CParam::kByte, -2.9f, 254, 0xBB},
        {CParam::kByte, 300.0f, 44, 0xBB},
        {CParam::kInt16, -1.5f, 0xFF, 0xFF},
        {CParam::kInt16, 12.99f, 12, 0},
        {CParam::kInt16, 70000.0f, 0x70, 0x11}, // 70000 - 65536 = 4464
        {CParam::kInt16, 1e10f, 0x00, 0xE4},    // 10^10 mod 65536 = 58368
        {CParam::kInt16, -1e10f, 0x00, 0x1C},   // 65536 - 58368 = 7168
        {CParam::kByte, 1e30f, 0x00, 0xBB},     // 10^30 is a multiple of 256
        {CParam::kInt16, std::numeric_limits<float>::quiet_NaN(), 0, 0},
        {CParam::kInt16, fInf, 0, 0},
        {CParam::kByte, -fInf, 0, 0xBB},
    };
    for (const Case& c : cases) {
        CParam param = Numeric(c.nType, 2);
        param.SetValue(1, c.fValue);
        const CParam::Slot& slot = param.m_pValues[1];
        EXPECT_EQ(slot[0], c.b0) << c.fValue;
        EXPECT_EQ(slot[1], c.b1) << c.fValue;
        EXPECT_EQ(slot[2], 0xCC) << "the rest of the slot is kept";
        EXPECT_EQ(param.m_pValues[0], (CParam::Slot{0xAA, 0xBB, 0xCC, 0xDD}));
    }
}

TEST(Param, SetValueStoresFloatsWholeAndIgnoresWhatItCannotStore)
{
    CParam floats = Numeric(CParam::kFloat, 1);
    floats.SetValue(0, 1.0f);
    EXPECT_EQ(floats.m_pValues[0], (CParam::Slot{0x00, 0x00, 0x80, 0x3F}));

    CParam text = Numeric(CParam::kChar, 1);
    text.SetValue(0, 5.0f);
    CParam ints = Numeric(CParam::kInt16, 2);
    ints.SetValue(2, 5.0f);
    ints.SetValue(-1, 5.0f);
    CParam odd = Numeric(3, 1);
    odd.SetValue(0, 5.0f);
    for (const CParam* pParam : {&text, &ints, &odd})
        for (const CParam::Slot& slot : pParam->m_pValues)
            EXPECT_EQ(slot, (CParam::Slot{0xAA, 0xBB, 0xCC, 0xDD}));
}

TEST(Param, FindParamMatchesGroupAndNameWholeIgnoringCase)
{
    CRecordingHost host;
    CCod cod(host);
    cod.m_nChannels = 1;
    cod.CreateGroups();
    cod.m_params.resize(10);
    cod.BuildParameters();
    struct Case {
        const char* pszGroup;
        const char* pszName;
        int nIndex;
    };
    const Case cases[] = {
        {"Analog", "Scale", 2}, {"Point", "Rate", 12},  {"ANALOG", "rate", 7}, {"POINT", "SCALE", -1},
        {"Analog", "SCAL", -1}, {"Analo", "Scale", -1}, {"EMG", "Side", 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cod.FindParam(c.pszGroup, c.pszName), c.nIndex) << c.pszGroup << " " << c.pszName;
    EXPECT_TRUE(host.m_messages.empty());

    cod.m_params[3].reset();
    EXPECT_EQ(cod.FindParam("Analog", "Units"), -1);
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Memory Error"});

    CCod empty(host);
    EXPECT_EQ(empty.FindParam("Analog", "Scale"), -1);
}

} // namespace
} // namespace tarvek::test
