#include <gtest/gtest.h>

#include "sprites/colouring.h"

namespace gm {

TEST(RandomizeMask, AlwaysDrawsNineNumbersAndFillsEachDigitWithOneLetter)
{
    Random random(3);
    const std::string mask = randomize_mask("\n11 12\n0a9\n", false, random);
    EXPECT_EQ(random.draws(), 9u);
    ASSERT_EQ(mask.size(), 11u);
    EXPECT_EQ(mask[1], mask[2]);
    EXPECT_EQ(mask[1], mask[4]);
    EXPECT_EQ(mask.substr(7, 2), "0a") << "the digit 0 and other letters stay";
    EXPECT_EQ(mask[0], '\n');
    for (std::size_t i : {1u, 5u, 9u}) EXPECT_NE(std::string("cCrRyYbBgGm").find(mask[i]), std::string::npos);

    Random empty_random(3);
    randomize_mask("", false, empty_random);
    EXPECT_EQ(empty_random.draws(), 9u);
}

TEST(RandomizeMask, UsesTheDrawsInDigitOrderAndNeverPicksBrightMagenta)
{
    Random reference(11);
    std::string expected;
    const std::string palette = "cCrRyYbBgGmM";
    for (int d = 0; d < 9; ++d) expected.push_back(palette[static_cast<std::size_t>(reference.next() % 11)]);

    Random random(11);
    EXPECT_EQ(randomize_mask("123456789", false, random), expected);

    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        Random r(seed);
        ASSERT_EQ(randomize_mask("123456789", false, r).find('M'), std::string::npos);
    }
}

TEST(RandomizeMask, WhiteEyeOverridesSlotFourWithoutChangingTheDraws)
{
    Random plain(8);
    Random eyed(8);
    const std::string a = randomize_mask("12345", false, plain);
    const std::string b = randomize_mask("12345", true, eyed);
    EXPECT_EQ(b[3], 'W');
    EXPECT_EQ(a.substr(0, 3), b.substr(0, 3));
    EXPECT_EQ(a[4], b[4]);
    EXPECT_EQ(plain.next(), eyed.next());
}

TEST(BuildFrame, DrawsOnlyWhenRandomizingAndNeverTouchesTheArt)
{
    const SpriteArt art{"\n<o)\n", "\n14W\n"};
    Random random(2);
    const SpriteFrame plain = build_frame(art, 0x101010, false, true, random);
    EXPECT_EQ(random.draws(), 0u);
    EXPECT_EQ(plain.colour_at(0, 1), 0x101010u) << "an unfilled digit shows the default colour";
    EXPECT_FALSE(plain.blanks_transparent);

    const SpriteFrame coloured = build_frame(art, 0x101010, true, true, random);
    EXPECT_EQ(random.draws(), 9u);
    EXPECT_EQ(coloured.colour_at(1, 1), colours::white);
    EXPECT_EQ(coloured.colour_at(2, 1), colours::white);
    EXPECT_EQ(art.mask_text, "\n14W\n");
}

} // namespace gm
