#include <gtest/gtest.h>

#include "render/grid_diff.h"
#include "render/runs.h"
#include "render/text_render.h"

namespace gm {

namespace {

CellGrid row_of(std::initializer_list<Cell> cells)
{
    CellGrid grid(static_cast<std::int32_t>(cells.size()), 1);
    std::size_t i = 0;
    for (const Cell& cell : cells) grid.cells[i++] = cell;
    return grid;
}

constexpr Colour red = colours::bright_red;
constexpr Colour blue = colours::bright_blue;

} // namespace

TEST(ColourRuns, EmptyCellsBreakRunsAndAreNeverDrawn)
{
    const CellGrid grid = row_of({{'A', red}, {'B', red}, {' ', red}, {'C', red}});
    EXPECT_EQ(split_runs(grid, 0).runs(), (std::vector<ColourRun>{{0, red, "AB"}, {3, red, "C"}}));
    EXPECT_TRUE(split_runs(row_of({{' ', 0}, {' ', red}}), 0).empty());
}

TEST(ColourRuns, OpaqueBlanksJoinTheirRunAsBlanks)
{
    const CellGrid grid = row_of({{'A', red}, {'\0', red}, {'B', red}});
    EXPECT_EQ(split_runs(grid, 0).runs(), (std::vector<ColourRun>{{0, red, "A B"}}));
}

TEST(ColourRuns, ColourChangesStartNewRunsThatEndAtTheRow)
{
    CellGrid grid(3, 2);
    grid.at(0, 0) = {'x', red};
    grid.at(1, 0) = {'y', blue};
    grid.at(2, 0) = {'z', blue};
    grid.at(0, 1) = {'w', blue};
    EXPECT_EQ(split_runs(grid, 0).runs(), (std::vector<ColourRun>{{0, red, "x"}, {1, blue, "yz"}}));
    EXPECT_EQ(split_runs(grid, 1).runs(), (std::vector<ColourRun>{{0, blue, "w"}}));
    EXPECT_TRUE(split_runs(grid, 2).empty());
    EXPECT_TRUE(split_runs(grid, -1).empty());
}

TEST(ColourRuns, RunsAppendedBeyondTheRoomMadeKeepTheirTexts)
{
    CellGrid grid(3, 2);
    grid.at(0, 0) = {'a', red};
    grid.at(1, 0) = {'b', blue};
    grid.at(0, 1) = {'c', red};
    ColourRuns runs;
    runs.start(1); // the second row's runs move the storage and the first row's texts with it
    for (std::int32_t row = 0; row < grid.rows; ++row) runs.append(grid, row, -1, 9);
    EXPECT_EQ(runs.runs(), (std::vector<ColourRun>{{0, red, "a"}, {1, blue, "b"}, {0, red, "c"}}));
    EXPECT_EQ(runs.characters(), "abc");
}

TEST(TextRendering, OneLineOfExactlyColumnsPerRow)
{
    CellGrid grid(3, 2);
    grid.at(0, 0) = {'a', red};
    grid.at(1, 0) = {'\0', red};
    EXPECT_EQ(grid_to_text(grid), "a  \n   \n");
    EXPECT_EQ(grid_to_text(CellGrid(0, 2)), "\n\n");
}

TEST(TextRendering, MapsTheFourteenColoursOntoTheSixteenTerminalColours)
{
    EXPECT_EQ(terminal_colour_index(colours::dark_red), 1);
    EXPECT_EQ(terminal_colour_index(colours::dark_green), 2);
    EXPECT_EQ(terminal_colour_index(colours::dark_yellow), 3);
    EXPECT_EQ(terminal_colour_index(colours::dark_blue), 4);
    EXPECT_EQ(terminal_colour_index(colours::dark_magenta), 5);
    EXPECT_EQ(terminal_colour_index(colours::dark_cyan), 6);
    EXPECT_EQ(terminal_colour_index(colours::grey), 7);
    EXPECT_EQ(terminal_colour_index(colours::bright_red), 9);
    EXPECT_EQ(terminal_colour_index(colours::bright_cyan), 14);
    EXPECT_EQ(terminal_colour_index(colours::white), 15);
    EXPECT_EQ(terminal_colour_index(colours::black), 0);

    CellGrid grid(3, 1);
    grid.at(0, 0) = {'a', colours::dark_cyan};
    grid.at(1, 0) = {'b', colours::dark_cyan};
    grid.at(2, 0) = {'c', colours::white};
    EXPECT_EQ(grid_to_ansi(grid), "\x1b[36mab\x1b[97mc\x1b[0m\n");
}

TEST(GridDiff, FindsTheChangedSpanOfEachRowAndTheirBoundingRectangle)
{
    CellGrid before(6, 3);
    CellGrid after = before;
    EXPECT_TRUE(changed_columns(before, after, 1).empty());
    EXPECT_TRUE(changed_rect(before, after).empty());
    after.at(1, 1) = {'a', red};
    after.at(5, 1) = {'b', red}; // the last column: the span must reach the row's end
    after.at(0, 2) = {' ', blue}; // another colour under an empty cell is still a change
    const ColumnSpan span = changed_columns(before, after, 1);
    EXPECT_EQ(span.first, 1);
    EXPECT_EQ(span.end, 6);
    const CellRect rect = changed_rect(before, after);
    EXPECT_EQ((std::vector<int>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<int>{0, 1, 6, 3}));
    const CellRect resized = changed_rect(CellGrid(2, 2), after);
    EXPECT_EQ((std::vector<int>{resized.left, resized.top, resized.right, resized.bottom}), (std::vector<int>{0, 0, 6, 3}));

    // Row 1 changed at columns 1 and 5: three unchanged cells part them.
    for (const auto& [gap, expected] : std::vector<std::pair<int, std::vector<int>>>{{3, {1, 2, 5, 6}}, {4, {1, 6}}}) {
        std::vector<ColumnSpan> spans{{9, 9}}; // appended to, never cleared
        changed_spans(before, after, 1, gap, spans);
        std::vector<int> flat;
        for (std::size_t i = 1; i < spans.size(); ++i) flat.insert(flat.end(), {spans[i].first, spans[i].end});
        EXPECT_EQ(flat, expected) << "join gap " << gap;
    }
}

} // namespace gm
