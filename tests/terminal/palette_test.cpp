#include <gtest/gtest.h>

#include <utility>

#include "host/glyphmarinae/palette.h"

namespace gm {

TEST(TerminalPalette, SixteenColoursUseAPairEach)
{
    EXPECT_EQ(style_for(colours::dark_cyan, ColourDepth::sixteen).pair, 7);
    EXPECT_FALSE(style_for(colours::dark_cyan, ColourDepth::sixteen).bold);
    EXPECT_EQ(style_for(colours::bright_cyan, ColourDepth::sixteen).pair, 15);
    EXPECT_EQ(style_for(colours::white, ColourDepth::sixteen).pair, 16);
    // The cube's pairs follow the sixteen: 0xAAAA00's nearest entry is 37.
    EXPECT_EQ(style_for(colours::dark_cyan, ColourDepth::palette256).pair, 38);
    EXPECT_EQ(style_for(colours::white, ColourDepth::palette256).pair, 232);
}

TEST(TerminalPalette, EightColoursEmboldenTheBrightShades)
{
    const TerminalStyle bright = style_for(colours::bright_yellow, ColourDepth::eight);
    EXPECT_EQ(bright.pair, 4);
    EXPECT_TRUE(bright.bold);
    const TerminalStyle dark = style_for(colours::dark_yellow, ColourDepth::eight);
    EXPECT_EQ(dark.pair, 4);
    EXPECT_FALSE(dark.bold);
    EXPECT_TRUE(style_for(colours::white, ColourDepth::eight).bold);
    EXPECT_FALSE(style_for(colours::grey, ColourDepth::eight).bold);
}

TEST(TerminalPalette, NoColourSupportIsMonochrome)
{
    const TerminalStyle style = style_for(colours::bright_red, ColourDepth::none);
    EXPECT_EQ(style.pair, 0);
    EXPECT_FALSE(style.bold);
}

TEST(TerminalPalette, TwentyFourBitsWhereTheEntryHasThemElseTheCube)
{
    struct Case {
        const char* colorterm;
        const char* term;
        int colours;
        bool terminal_colours;
        ColourDepth expected;
    };
    for (const Case& c : {Case{"", "xterm-direct", direct_colours, false, ColourDepth::truecolor},
                          Case{"truecolor", "xterm-direct", direct_colours, false, ColourDepth::truecolor},
                          // Named otherwise, a -direct entry still has no cube.
                          Case{"", "xterm-direct256", direct_colours, false, ColourDepth::truecolor},
                          Case{"truecolor", "xterm-256color", 256, false, ColourDepth::palette256},
                          Case{"24bit", "xterm", 8, false, ColourDepth::eight},
                          Case{"truecolor", "linux", 8, false, ColourDepth::eight},
                          Case{"", "xterm-direct", direct_colours, true, ColourDepth::eight},
                          Case{"", "xterm-256color", 256, true, ColourDepth::sixteen},
                          Case{"", "xterm", 8, true, ColourDepth::eight}})
        EXPECT_EQ(drawable_depth(c.colorterm, c.term, c.colours, c.terminal_colours), c.expected)
            << c.colorterm << " " << c.term << " " << c.colours << " " << c.terminal_colours;
}

TEST(TerminalPalette, TheDirectEntryOfTheSameFamily)
{
    for (const auto& [term, direct] : {std::pair{"xterm-256color", "xterm-direct"}, {"tmux-256color", "tmux-direct"},
                                       {"rxvt-unicode-88color", "rxvt-unicode-direct"}, {"xterm", "xterm-direct"},
                                       {"xterm-direct", ""}, {"", ""}})
        EXPECT_EQ(direct_entry_for(term), direct) << term;
}

TEST(TerminalPalette, DirectColourNumbersAreRgbAboveTheStandardEight)
{
    EXPECT_EQ(direct_colour_number(colours::dark_cyan), 0x00AAAA);
    EXPECT_EQ(direct_colour_number(colours::bright_blue), 0x0000FF);
    EXPECT_EQ(direct_colour_number(colours::bright_red), 0xFF0000);
    // Black and the blues below 8 would be the terminal's standard colours.
    EXPECT_EQ(direct_colour_number(colours::black), 8);
    EXPECT_EQ(direct_colour_number(0x070000), 8);
    EXPECT_EQ(direct_colour_number(0x080000), 8);
    EXPECT_EQ(direct_colour_number(0x090000), 9);
}

} // namespace gm
