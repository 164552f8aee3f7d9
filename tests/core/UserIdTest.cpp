// The installation identifier drawn from the linear congruential generator.
#include "core/UserId.h"

#include <gtest/gtest.h>

#include <regex>

TEST(UserId, SeedZeroGivesTheHandComputedDrawsInReverseOrder)
{
    // Why: the identifier must be the generator's exact draws, newest first.
    // state := state * 22695477 + 1 mod 2^32; draw := (state >> 16) & 0x7FFF
    //   d1: 0 * 22695477 + 1 = 1                                   >> 16 = 0      -> 0
    //   d2: 1 * 22695477 + 1 = 22695478                            >> 16 = 346    -> 346
    //   d3: 22695478 * 22695477 + 1 = 515084698953007
    //       mod 2^32 = 2156045615                                  >> 16 = 32898  -> 130
    //   d4: 2156045615 * 22695477 + 1 = 48932483666183356
    //       mod 2^32 = 2867233980                                  >> 16 = 43750  -> 10982
    //   d5: 2867233980 * 22695477 + 1 = 65073242846708461
    //       mod 2^32 = 71484141                                    >> 16 = 1090   -> 1090
    //   d6: 71484141 * 22695477 + 1 = 1622366677930258
    //       mod 2^32 = 2911408402                                  >> 16 = 44424  -> 11656
    EXPECT_EQ(makeUserId(0), "11656-1090-10982-130-346-0");
}

TEST(UserId, AnySeedGivesSixNumbersWithoutLeadingZeros)
{
    // Why: the web pages expect six numbers 0..32767 joined by "-".
    const std::regex shape("(0|[1-9][0-9]{0,4})(-(0|[1-9][0-9]{0,4})){5}");
    for (const std::uint32_t seed : {1u, 12345u, 1700000000u, 0xFFFFFFFFu}) {
        const std::string id = makeUserId(seed);
        EXPECT_TRUE(std::regex_match(id, shape)) << id;
        std::size_t start = 0;
        for (int i = 0; i < 6; ++i) {
            const std::size_t end = id.find('-', start);
            EXPECT_LE(std::stoi(id.substr(start, end - start)), 32767) << id;
            start = end + 1;
        }
    }
    EXPECT_NE(makeUserId(1), makeUserId(2));
}
