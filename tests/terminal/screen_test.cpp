#include <gtest/gtest.h>

#include <cstdio>
#include <curses.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

#include "engine/tick.h"
#include "host/glyphmarinae/palette.h"
#include "host/glyphmarinae/screen.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

// What ncurses holds for every cell must show the grid: each character in its
// colour's pair, each blank in some pair on the aquarium's black (pair 0 is the
// terminal's own colours), whatever pair the drawing gave it.
void expect_shown(const CellGrid& grid, int frame)
{
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.columns; ++c) {
            cchar_t held;
            wchar_t text[CCHARW_MAX + 1];
            attr_t attributes = 0;
            short narrow_pair = 0; // asked for, though the pair may not fit
            int pair = 0, foreground = 0, background = -2;
            ASSERT_EQ(mvwin_wch(stdscr, r, c, &held), OK);
            getcchar(&held, text, &attributes, &narrow_pair, &pair);
            const Cell& cell = grid.at(c, r);
            const bool blank = cell.character == ' ' || cell.character == '\0';
            SCOPED_TRACE(testing::Message() << "frame " << frame << " row " << r << " column " << c);
            EXPECT_EQ(text[0], blank ? L' ' : static_cast<wchar_t>(cell.character));
            extended_pair_content(pair, &foreground, &background);
            EXPECT_NE(pair, 0);
            EXPECT_EQ(background, 0);
            EXPECT_TRUE(blank || pair == style_for(cell.colour, ColourDepth::palette256).pair) << "pair " << pair;
        }
}

TEST(TerminalScreen, EveryCellShowsTheGridAfterEachFrame)
{
    constexpr int columns = 120, rows = 40;
    winsize size{rows, columns, 0, 0};
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
    setenv("TERM", "xterm-256color", 1);
    unsetenv("COLORTERM");
    std::FILE *out = fdopen(slave, "w"), *in = fdopen(dup(slave), "r");
    // The terminal's side is drained, or ncurses would wait on a full pty.
    std::thread reader([master] {
        for (char buffer[65536]; read(master, buffer, sizeof buffer) > 0;) continue;
    });
    static Scene scene;
    {
        Screen screen({}, out, in);
        start_scene(scene, columns, rows, 3);
        for (int frame = 0; frame < 40 && !HasFatalFailure(); ++frame) {
            compose(scene);
            screen.draw(scene.grid);
            expect_shown(scene.grid, frame);
            tick(scene);
        }
    }
    std::fclose(out), std::fclose(in);
    reader.join();
    close(master);
}

} // namespace gm
