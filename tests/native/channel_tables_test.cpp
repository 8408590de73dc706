// Gamma and channel tables against the literal arithmetic (plain divisions).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PixelReference.h"
#include "Render/Kernels/ChannelTables.h"

using namespace Render::Kernels;

namespace {

struct Built {
    std::vector<uint16_t> red = std::vector<uint16_t>(kTableSize), green = red, blue = red, grey = red;
    ChannelTables View() { return {red.data(), green.data(), blue.data(), grey.data()}; }
};

Built Build(const std::vector<uint16_t>& gamma, uint16_t black, uint16_t white, uint16_t r, uint16_t g, uint16_t b) {
    Built built;
    BuildChannelTables(gamma.data(), black, white, r, g, b, built.View());
    return built;
}

void ExpectEqualTables(const Built& built, const pixelref::Tables& expected, const char* what) {
    for (uint32_t i = 0; i < kTableSize; ++i) {
        ASSERT_EQ(built.red[i], expected.red[i]) << what << ": red " << i;
        ASSERT_EQ(built.green[i], expected.green[i]) << what << ": green " << i;
        ASSERT_EQ(built.blue[i], expected.blue[i]) << what << ": blue " << i;
        ASSERT_EQ(built.grey[i], expected.grey[i]) << what << ": grey " << i;
    }
}

std::vector<uint16_t> Gamma(float gamma) {
    std::vector<uint16_t> table(kTableSize);
    BuildGammaTable(gamma, table.data());
    return table;
}

}  // namespace

TEST(ChannelTables, GammaOneIsTheIdentity) {
    const std::vector<uint16_t> table = Gamma(1.0f);
    for (uint32_t i = 0; i < kTableSize; ++i) ASSERT_EQ(table[i], i);
}

TEST(ChannelTables, GammaTablesFollowThePowerRule) {
    for (float gamma : {0.2f, 0.4f, 1.4f, 2.2f, 3.0f, 5.0f}) {
        const std::vector<uint16_t> table = Gamma(gamma), expected = pixelref::GammaTable(gamma);
        for (uint32_t i = 0; i < kTableSize; ++i) ASSERT_EQ(table[i], expected[i]) << "gamma " << gamma << " at " << i;
        EXPECT_EQ(table[0], 0);
        EXPECT_EQ(table[65535], 65535);
    }
    // Gamma above 1 brightens the middle of the range.
    EXPECT_GT(Gamma(2.2f)[32768], 32768);
}

TEST(ChannelTables, DegenerateGammasStayInRange) {
    // Slider position 0 gives gamma 0: everything below full scale goes black.
    const std::vector<uint16_t> zero = Gamma(0.0f);
    EXPECT_EQ(zero[0], 0);
    EXPECT_EQ(zero[30000], 0);
    EXPECT_EQ(zero[65535], 65535);
    const std::vector<uint16_t> negative = Gamma(-1.0f);
    EXPECT_EQ(negative[0], 65535);
    EXPECT_EQ(negative[100], 65535);
    const std::vector<uint16_t> notANumber = Gamma(std::nanf(""));
    EXPECT_EQ(notANumber[1234], 65535);
}

TEST(ChannelTables, DefaultsGiveIdentityTables) {
    const Built built = Build(Gamma(1.0f), 0, 65535, 65535, 65535, 65535);
    for (uint32_t i = 0; i < kTableSize; ++i) {
        ASSERT_EQ(built.red[i], i);
        ASSERT_EQ(built.green[i], i);
        ASSERT_EQ(built.blue[i], i);
        ASSERT_EQ(built.grey[i], i);
    }
}

TEST(ChannelTables, EqualLevelsSkipTheLevelStep) {
    const std::vector<uint16_t> gamma = Gamma(1.8f);
    const Built built = Build(gamma, 5000, 5000, 40000, 20000, 10000);
    const pixelref::Tables expected = pixelref::ChannelTables(gamma, 0, 0, 40000, 20000, 10000);
    ExpectEqualTables(built, expected, "black == white");
    EXPECT_EQ(built.grey[4000], gamma[4000]);  // below the "black" level, untouched
}

TEST(ChannelTables, LevelsStretchBetweenBlackAndWhite) {
    const Built built = Build(Gamma(1.0f), 1000, 2000, 65535, 65535, 65535);
    EXPECT_EQ(built.grey[0], 0);
    EXPECT_EQ(built.grey[1000], 0);
    EXPECT_EQ(built.grey[1001], 65);  // 1 * 65535 / 1000
    EXPECT_EQ(built.grey[1500], 32767);
    EXPECT_EQ(built.grey[2000], 65535);
    EXPECT_EQ(built.grey[60000], 65535);
    // White below black: the distance is taken, the threshold stays at black.
    const Built swapped = Build(Gamma(1.0f), 2000, 1000, 65535, 65535, 65535);
    EXPECT_EQ(swapped.grey[1500], 0);
    EXPECT_EQ(swapped.grey[2500], 32767);
}

TEST(ChannelTables, WhiteBalanceScalesByTheLargestReference) {
    const Built built = Build(Gamma(1.0f), 0, 65535, 30000, 60000, 15000);
    EXPECT_EQ(built.green[1000], 1000);
    EXPECT_EQ(built.red[1000], 2000);
    EXPECT_EQ(built.blue[1000], 4000);
    EXPECT_EQ(built.blue[20000], 65535);  // 80000 clamps
    EXPECT_EQ(built.grey[1000], 1000);    // grey is not balanced
}

TEST(ChannelTables, ZeroReferencesCountAsOne) {
    const Built allZero = Build(Gamma(1.0f), 0, 65535, 0, 0, 0);
    for (uint32_t i = 0; i < kTableSize; i += 97) ASSERT_EQ(allZero.red[i], i);
    const Built oneZero = Build(Gamma(1.0f), 0, 65535, 0, 100, 50);
    EXPECT_EQ(oneZero.red[1], 100);  // 1 * 100 / 1
    EXPECT_EQ(oneZero.red[700], 65535);
    EXPECT_EQ(oneZero.blue[7], 14);
    EXPECT_EQ(oneZero.green[7], 7);
}

TEST(ChannelTables, RandomSettingsMatchPlainDivision) {
    std::mt19937 random(77);
    const float gammas[] = {1.0f, 0.6f, 2.2f};
    std::vector<std::vector<uint16_t>> gammaTables;
    for (float g : gammas) gammaTables.push_back(Gamma(g));
    for (int round = 0; round < 24; ++round) {
        const auto& gamma = gammaTables[round % 3];
        auto pick = [&] {
            switch (random() % 4) {
                case 0:
                    return uint16_t(random() % 4);  // tiny and zero references
                case 1:
                    return uint16_t(65535 - random() % 3);
                default:
                    return uint16_t(random());
            }
        };
        const uint16_t black = pick(), white = round % 5 == 0 ? black : pick();
        const uint16_t r = pick(), g = pick(), b = pick();
        SCOPED_TRACE(testing::Message() << "levels " << black << ".." << white << " refs " << r << "," << g << ","
                                        << b);
        ExpectEqualTables(Build(gamma, black, white, r, g, b), pixelref::ChannelTables(gamma, black, white, r, g, b),
                          "random");
        if (HasFatalFailure()) return;
    }
}

TEST(ChannelTables, DisplayTablesApplyShiftAndClamp) {
    std::vector<uint16_t> table(kTableSize);
    for (uint32_t i = 0; i < kTableSize; ++i) table[i] = uint16_t(i * 7);
    std::vector<uint8_t> out(kTableSize);
    for (uint32_t shift : {0u, 1u, 2u, 7u, 15u, 16u, 31u, 32u}) {
        BuildDisplayTable(table.data(), shift, out.data());
        for (uint32_t i = 0; i < kTableSize; ++i) ASSERT_EQ(out[i], pixelref::Byte(table[i], shift)) << i;
    }
    table[0x100] = 0x4000;
    BuildDisplayTable(table.data(), 2, out.data());
    EXPECT_EQ(out[0x100], 255);
}
