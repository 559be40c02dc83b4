#include "state/ParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "link/ProtocolLimits.h"

namespace sonoria {
namespace {

std::string Where(const ParamInfo& p) {
    return std::string(p.name) + " " + std::to_string(p.address.block) + "/" + std::to_string(p.address.index);
}

TEST(ParameterTable, HoldsEveryNamedParameterOnce) {
    // Block 1: 26, block 2: 28, block 3: 12,
    // block 4: 15 left/right pairs + 2 meters + 2 rear routes = 19,
    // blocks 5/6: 21 shared + 4 left + 4 right = 29, block 7: 26, block 8: 26.
    // 26 + 28 + 12 + 19 + 29 + 26 + 26 = 166.
    const auto params = AllParams();
    EXPECT_EQ(params.size(), 166u);

    std::set<std::string_view> names;
    for (const ParamInfo& p : params) {
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate " << p.name;
        EXPECT_EQ(FindParam(p.name), &p) << p.name;
    }
}

TEST(ParameterTable, AddressesLieInsideTheirBlocksInOrder) {
    const auto params = AllParams();
    for (const ParamInfo& p : params) {
        EXPECT_TRUE(IsParamAddress(p.address.block, p.address.index)) << Where(p);
        EXPECT_EQ(ParamAt(p.address.block, p.address.index), &p) << Where(p);
        if (!p.twin) continue;
        EXPECT_TRUE(IsParamAddress(p.twin->block, p.twin->index)) << Where(p);
        EXPECT_EQ(ParamAt(p.twin->block, p.twin->index), &p) << Where(p);
        // Twins are only the music right channel and the right main output.
        const bool musicRight = p.address.block == 4 && p.address.index < 16 &&
                                *p.twin == ParamAddress{4, static_cast<std::uint8_t>(p.address.index + 16)};
        const bool mainRight = p.address.block == 5 && *p.twin == ParamAddress{6, p.address.index};
        EXPECT_TRUE(musicRight || mainRight) << Where(p);
    }
    EXPECT_TRUE(std::ranges::is_sorted(params, [](const ParamInfo& a, const ParamInfo& b) {
        return std::pair(a.address.block, a.address.index) < std::pair(b.address.block, b.address.index);
    }));
}

TEST(ParameterTable, NamedSlotsMatchTheBlockLayout) {
    // Used slots: 1/0..25, 2/0..27, 3/0..11, 4/0..33, 5/0..24, 6/0..24, 7/0..25, 8/0..25.
    const int usedPerBlock[] = {0, 26, 28, 12, 34, 25, 25, 26, 26};
    for (int block = kFirstBlock; block <= kLastBlock; ++block) {
        for (int index = 0; index < kBlockSizes[block]; ++index) {
            EXPECT_EQ(ParamAt(block, index) != nullptr, index < usedPerBlock[block]) << block << "/" << index;
        }
    }
}

TEST(ParameterTable, SpotChecks) {
    struct Expect {
        std::string_view name;
        int block, index;
        int twinBlock, twinIndex;  // -1 when there is no twin
        Encoding encoding;
    };
    const Expect cases[] = {
        {"MicMeter", 1, 0, -1, -1, Encoding::MTR},
        {"MicVolume", 1, 24, -1, -1, Encoding::S7},
        {"MicSpare25", 1, 25, -1, -1, Encoding::RAW},
        {"EchoTime", 2, 13, -1, -1, Encoding::S7Star},
        {"EchoMidFreq", 2, 27, -1, -1, Encoding::W15},
        {"ReverbPreDelay", 3, 11, -1, -1, Encoding::S7},
        {"MusicMeterL", 4, 0, -1, -1, Encoding::MTR},
        {"MusicMeterR", 4, 16, -1, -1, Encoding::MTR},
        {"MusicVolume", 4, 2, 4, 18, Encoding::S7},
        {"MusicHighPassFreq", 4, 15, 4, 31, Encoding::W15},
        {"RearRouteB", 4, 33, -1, -1, Encoding::S7},
        {"PitchShift", 5, 1, 6, 1, Encoding::S7},
        {"MainMusicLevel", 5, 20, 6, 20, Encoding::S7},
        {"MainLDirectLevel", 5, 21, -1, -1, Encoding::S7},
        {"MainRDelay", 6, 24, -1, -1, Encoding::W15},
        {"SubPeqB2Freq", 7, 13, -1, -1, Encoding::W15},
        {"SubVolume", 7, 22, -1, -1, Encoding::B2},
        {"CenterMicLevel", 8, 15, -1, -1, Encoding::S7},
        {"CenterPhase", 8, 25, -1, -1, Encoding::B2},
    };
    for (const Expect& e : cases) {
        const ParamInfo* p = FindParam(e.name);
        ASSERT_NE(p, nullptr) << e.name;
        EXPECT_EQ(p->address, (ParamAddress{std::uint8_t(e.block), std::uint8_t(e.index)})) << e.name;
        EXPECT_EQ(p->encoding, e.encoding) << e.name;
        if (e.twinBlock < 0) {
            EXPECT_FALSE(p->twin.has_value()) << e.name;
        } else {
            ASSERT_TRUE(p->twin.has_value()) << e.name;
            EXPECT_EQ(*p->twin, (ParamAddress{std::uint8_t(e.twinBlock), std::uint8_t(e.twinIndex)})) << e.name;
        }
    }
    // Only EchoTime uses the 254 variant; the three meters are the only MTR values.
    const auto params = AllParams();
    EXPECT_EQ(std::ranges::count(params, Encoding::S7Star, &ParamInfo::encoding), 1);
    EXPECT_EQ(std::ranges::count(params, Encoding::MTR, &ParamInfo::encoding), 3);
}

TEST(ParameterTable, RangesFitWhatTheEncodingCarries) {
    // A value inside the range reaches the device as it is: the encoding never cuts bits off it.
    for (const ParamInfo& param : AllParams()) {
        const int carried = param.encoding == Encoding::W15 ? 32767
                            : param.encoding == Encoding::RAW ? 65535
                            : param.encoding == Encoding::B2 || param.encoding == Encoding::MTR ? 255
                                                                                              : 127;
        EXPECT_LE(0, param.range.min) << param.name;
        EXPECT_LE(param.range.min, param.range.max) << param.name;
        EXPECT_LE(param.range.max, carried) << param.name;
    }
}

TEST(ParameterTable, LookupsRejectUnknownInput) {
    EXPECT_EQ(ParamAt(4, 18), FindParam("MusicVolume"));
    EXPECT_EQ(ParamAt(6, 0), FindParam("PitchEnable"));
    EXPECT_EQ(ParamAt(6, 21), FindParam("MainRDirectLevel"));

    EXPECT_EQ(FindParam("micvolume"), nullptr);
    EXPECT_EQ(FindParam("MicVolume "), nullptr);
    EXPECT_EQ(FindParam(""), nullptr);
    EXPECT_EQ(FindParam("MainDelay"), nullptr);

    const int unnamed[][2] = {{5, 25}, {6, 31}, {7, 26}, {8, 27}, {0, 2}, {9, 0},
                              {-1, 0}, {1, -1}, {1, 26}, {4, 34}, {255, 255}};
    for (const auto& at : unnamed) EXPECT_EQ(ParamAt(at[0], at[1]), nullptr) << at[0] << "/" << at[1];
}

TEST(ParameterTable, DecodesEachEncoding) {
    EXPECT_EQ(DecodeValue(Encoding::W15, 64, 0), 0x4000);
    EXPECT_EQ(DecodeValue(Encoding::W15, 0x7F, 0xFF), 0x7FFF);
    EXPECT_EQ(DecodeValue(Encoding::RAW, 0x12, 0x34), 0x1234);
    EXPECT_EQ(DecodeValue(Encoding::S7, 127, 255), 127);
    EXPECT_EQ(DecodeValue(Encoding::S7Star, 127, 254), 127);
    EXPECT_EQ(DecodeValue(Encoding::B2, 0, 36), 36);
    EXPECT_EQ(DecodeValue(Encoding::MTR, 99, 200), 200);

    EXPECT_EQ(EncodingName(Encoding::S7), "S7");
    EXPECT_EQ(EncodingName(Encoding::S7Star), "S7*");
    EXPECT_EQ(EncodingName(Encoding::W15), "W15");
    EXPECT_EQ(EncodingName(Encoding::B2), "B2");
    EXPECT_EQ(EncodingName(Encoding::MTR), "MTR");
    EXPECT_EQ(EncodingName(Encoding::RAW), "RAW");
}

}  // namespace
}  // namespace sonoria
