#include <gtest/gtest.h>

#include "host/glyphmarinae/palette.h"

namespace gm {

TEST(TerminalPalette, SixteenColoursUseAPairEach)
{
    EXPECT_EQ(style_for(colours::dark_cyan, 256).pair, 7);
    EXPECT_FALSE(style_for(colours::dark_cyan, 256).bold);
    EXPECT_EQ(style_for(colours::bright_cyan, 16).pair, 15);
    EXPECT_EQ(style_for(colours::white, 16).pair, 16);
}

TEST(TerminalPalette, EightColoursEmboldenTheBrightShades)
{
    const TerminalStyle bright = style_for(colours::bright_yellow, 8);
    EXPECT_EQ(bright.pair, 4);
    EXPECT_TRUE(bright.bold);
    const TerminalStyle dark = style_for(colours::dark_yellow, 8);
    EXPECT_EQ(dark.pair, 4);
    EXPECT_FALSE(dark.bold);
    EXPECT_TRUE(style_for(colours::white, 8).bold);
    EXPECT_FALSE(style_for(colours::grey, 8).bold);
}

TEST(TerminalPalette, NoColourSupportIsMonochrome)
{
    const TerminalStyle style = style_for(colours::bright_red, 2);
    EXPECT_EQ(style.pair, 0);
    EXPECT_FALSE(style.bold);
}

} // namespace gm
