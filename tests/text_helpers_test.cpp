#include <gtest/gtest.h>

#include "sprites/text_helpers.h"

namespace gm {

using Rows = std::vector<std::string>;

TEST(SeaweedStrand, AlternatesItsRowsByPhase)
{
    const SpriteFrame a = seaweed_strand(3, false);
    EXPECT_EQ(a.picture, (Rows{"(", " )", "("}));
    EXPECT_EQ(a.width, 2);
    EXPECT_EQ(a.default_colour, colours::dark_green);
    EXPECT_TRUE(a.is_transparent(0, 1)) << "the blank before ')' lies on the border";
    EXPECT_TRUE(a.is_transparent(1, 0));

    EXPECT_EQ(seaweed_strand(3, true).picture, (Rows{" )", "(", " )"}));
    const SpriteFrame one = seaweed_strand(1, false);
    EXPECT_EQ(one.picture, Rows{"("});
    EXPECT_EQ(one.width, 1);
    EXPECT_EQ(seaweed_strand(0, true).height, 0);
    EXPECT_EQ(seaweed_strand(-4, false).height, 0);
}

TEST(FitRows, AlignsToTheBottomOfTheBand)
{
    const Rows tall{"", "", "a", "b"};
    EXPECT_EQ(fit_rows(tall, 4), tall);
    EXPECT_EQ(fit_rows(tall, 3), (Rows{"", "a", "b"}));
    EXPECT_EQ(fit_rows(tall, 2), (Rows{"a", "b"}));
    EXPECT_EQ(fit_rows(Rows{"a", "b"}, 4), (Rows{"", "", "a", "b"}));
    EXPECT_EQ(fit_rows(Rows{"a", "", "b", "c", "d"}, 4), (Rows{"", "b", "c", "d"}));
    EXPECT_EQ(fit_rows(Rows{"a"}, 0), Rows{});
}

TEST(TextHelpers, StripAndJoin)
{
    EXPECT_EQ(strip_leading_newline("\n\nab"), "\nab");
    EXPECT_EQ(strip_leading_newline(""), "");
    EXPECT_EQ(strip_leading_newline("ab\n"), "ab\n");

    const Rows rows{"a", "b", "c"};
    EXPECT_EQ(join_rows(rows, 1, 5), "b\nc\n");
    EXPECT_EQ(join_rows(rows, 0, 2), "a\nb\n");
    EXPECT_EQ(join_rows(rows, 3, 4), "");
    EXPECT_EQ(join_rows(rows, 1, 0), "");
}

} // namespace gm
