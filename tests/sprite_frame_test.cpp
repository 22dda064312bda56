#include <gtest/gtest.h>

#include "sprites/sprite_frame.h"

namespace gm {

using Rows = std::vector<std::string>;

TEST(SplitRows, FollowsLineFeedsAndStopsAtZero)
{
    EXPECT_EQ(split_rows("\nab\n"), (Rows{"", "ab"}));
    EXPECT_EQ(split_rows("ab"), (Rows{"ab"}));
    EXPECT_EQ(split_rows("ab\n\n"), (Rows{"ab", ""}));
    EXPECT_EQ(split_rows(""), Rows{});
    EXPECT_EQ(split_rows("a\n\nb"), (Rows{"a", "", "b"}));
    EXPECT_EQ(split_rows(std::string_view("ab\0cd\n", 6)), (Rows{"ab"}));
}

TEST(SpriteFrame, SizeComesFromThePictureAlone)
{
    const SpriteFrame frame("\nab\n", "\nWWWWWWWW\nxx\nyy\n", 0x123456, false);
    EXPECT_EQ(frame.width, 2);
    EXPECT_EQ(frame.height, 2);
    EXPECT_TRUE(frame.is_transparent(0, 0));
    EXPECT_TRUE(frame.is_transparent(1, 0));
    EXPECT_FALSE(frame.is_transparent(0, 1));
}

TEST(SpriteFrame, EmptyTextHasNoCellsAndIsTransparentEverywhere)
{
    const SpriteFrame frame("", 0, false);
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.height, 0);
    EXPECT_TRUE(frame.is_transparent(0, 0));
    EXPECT_TRUE(frame.is_transparent(-3, 7));
    EXPECT_EQ(frame.cell_at(0, 0), ' ');
}

TEST(SpriteFrame, EnclosedBlanksAreOpaqueUnlessBlanksAreTransparent)
{
    const char* box = "###\n# #\n###\n";
    EXPECT_FALSE(SpriteFrame(box, 0, false).is_transparent(1, 1));
    EXPECT_TRUE(SpriteFrame(box, 0, true).is_transparent(1, 1));
    // A gap in the wall lets the outside flow in.
    EXPECT_TRUE(SpriteFrame("###\n#  \n###\n", 0, false).is_transparent(1, 1));
}

TEST(SpriteFrame, DiagonalStepsDoNotConnect)
{
    const SpriteFrame frame(" ###\n# ##\n####\n", 0, false);
    EXPECT_TRUE(frame.is_transparent(0, 0));
    EXPECT_FALSE(frame.is_transparent(1, 1));
}

TEST(SpriteFrame, QuestionMarksStaySeeThroughBetweenPartsOfAnOutline)
{
    // The '?' at column 2 of row 1 is reached from the top border.
    SpriteFrame frame("ab?cd\nab?cd\n", 0, true);
    EXPECT_TRUE(frame.is_transparent(2, 0));
    frame.close_row_gaps(0, false);
    EXPECT_TRUE(frame.is_transparent(2, 0));
    frame.close_row_gaps(0, true);
    EXPECT_FALSE(frame.is_transparent(2, 0));
    EXPECT_EQ(frame.cell_at(2, 0), '?');

    const SpriteFrame enclosed("###\n#?#\n###\n", 0, false);
    EXPECT_FALSE(enclosed.is_transparent(1, 1));
}

TEST(SpriteFrame, CloseRowGapsFillsOnlyBetweenTheOuterCharactersFromTheFirstRow)
{
    SpriteFrame frame("  a  b\n?? a  b\n", 0, false);
    ASSERT_TRUE(frame.is_transparent(4, 1));
    frame.close_row_gaps(1, false);
    EXPECT_FALSE(frame.is_transparent(4, 1));
    EXPECT_FALSE(frame.is_transparent(5, 1));
    EXPECT_TRUE(frame.is_transparent(3, 0)) << "rows above first_row are untouched";
    frame.close_row_gaps(0, true);
    EXPECT_TRUE(frame.is_transparent(0, 1)) << "left of the first drawn character";
    EXPECT_TRUE(frame.is_transparent(1, 0));
}

TEST(SpriteFrame, ShortRowsReadAsBlanksThatTheOutsideReaches)
{
    const SpriteFrame frame("#####\n#\n#####\n", 0, false);
    EXPECT_EQ(frame.width, 5);
    EXPECT_EQ(frame.cell_at(3, 1), ' ');
    EXPECT_TRUE(frame.is_transparent(3, 1));
}

TEST(SpriteFrame, EveryCellReadsTheSameByIndexAsItsRowsSay)
{
    // Ragged rows, a mask row longer than the frame, an empty one and missing
    // ones: a cell past the end of a row must not read the next row's start.
    const SpriteFrame frame("ab\n# #\n###\nc\n", "RRRRRR\n\nG\n", 0x123456, false);
    ASSERT_EQ(frame.width, 3);
    const Rows cells = {"ab ", "# #", "###", "c  "};
    const Rows masks = {"RRR", "   ", "G  ", "   "};
    const Rows transparent = {"..T", "...", "...", ".TT"}; // the blank in row 1 is enclosed
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const auto index = static_cast<std::size_t>(y * frame.width + x);
            const auto at = [&](const Rows& rows) { return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; };
            EXPECT_EQ(frame.cell_at(index), at(cells)) << x << "," << y;
            EXPECT_EQ(frame.cell_at(x, y), at(cells)) << x << "," << y;
            EXPECT_EQ(frame.colour_at(index), colour_of(at(masks), 0x123456)) << x << "," << y;
            EXPECT_EQ(frame.is_transparent(index), at(transparent) == 'T') << x << "," << y;
            EXPECT_EQ(frame.is_transparent(x, y), at(transparent) == 'T') << x << "," << y;
        }
}

TEST(SpriteFrame, CellsOutsideTheRectangleReadAsTransparentBlanks)
{
    const SpriteFrame frame("ab\n", 0, false);
    EXPECT_EQ(frame.cell_at(-1, 0), ' ');
    EXPECT_EQ(frame.cell_at(2, 0), ' ');
    EXPECT_EQ(frame.cell_at(0, 1), ' ');
    EXPECT_TRUE(frame.is_transparent(-1, 0));
    EXPECT_TRUE(frame.is_transparent(0, 5));
}

TEST(ColourOf, NamesFourteenColoursAndDefaultsForEverythingElse)
{
    EXPECT_EQ(colour_of('W', 0x123456), 0xFFFFFFu);
    EXPECT_EQ(colour_of('w', 0), 0xAAAAAAu);
    EXPECT_EQ(colour_of('R', 0), 0x0000FFu);
    EXPECT_EQ(colour_of('r', 0), 0x0000AAu);
    EXPECT_EQ(colour_of('B', 0), 0xFF0000u);
    EXPECT_EQ(colour_of('c', 0), 0xAAAA00u);
    EXPECT_EQ(colour_of('m', 0), 0xAA00AAu);
    EXPECT_EQ(colour_of('Y', 0), 0x00FFFFu);
    for (char c : {'a', '5', ' ', '0', 'x', 'K'}) EXPECT_EQ(colour_of(c, 0x123456), 0x123456u) << c;

    const SpriteFrame frame("\n<o)\n", "\ng4R\n", 0x112233, false);
    EXPECT_EQ(frame.colour_at(0, 1), colours::dark_green);
    EXPECT_EQ(frame.colour_at(1, 1), 0x112233u);
    EXPECT_EQ(frame.colour_at(2, 1), colours::bright_red);
    EXPECT_EQ(frame.colour_at(2, 5), 0x112233u) << "beyond the mask's rows";
}

} // namespace gm
