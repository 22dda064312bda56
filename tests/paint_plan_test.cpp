#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/paint_plan.h"

namespace gm {

namespace {

// One character a cell: '.' is empty, lower case is red and upper case blue,
// so that a case shows where a colour run starts and ends.
CellGrid grid_of(const std::vector<std::string>& rows)
{
    CellGrid grid(static_cast<std::int32_t>(rows.front().size()), static_cast<std::int32_t>(rows.size()));
    for (std::int32_t r = 0; r < grid.rows; ++r)
        for (std::int32_t c = 0; c < grid.columns; ++c) {
            const char character = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            grid.at(c, r) = {character == '.' ? ' ' : character,
                             character >= 'A' && character <= 'Z' ? colours::bright_blue : colours::bright_red};
        }
    return grid;
}

// "row:first-end |the span's cells| column'run' ...", spans parted by "; ".
std::string described(const PaintPlan& plan)
{
    std::string text;
    for (const PaintSpan& span : plan.spans()) {
        if (!text.empty()) text += "; ";
        text += std::to_string(span.row) + ":" + std::to_string(span.first) + "-" + std::to_string(span.end) + " |";
        for (const Cell& cell : plan.cells(span)) text += cell.character;
        text += "|";
        for (const ColourRun& run : plan.runs_over(span))
            text += " " + std::to_string(run.column) + "'" + std::string(run.text) + "'";
    }
    return text;
}

struct PlanCase {
    const char* what;
    std::vector<std::string> before;
    std::vector<std::string> now;
    const char* expected;
};

} // namespace

TEST(PaintPlan, ClearsTheChangedSpansAndDrawsTheRunsOverThemACellFurtherEachSide)
{
    const std::vector<PlanCase> cases = {
        {"nothing changed", {"abcd....", "..EF...."}, {"abcd....", "..EF...."}, ""},
        {"the first column", {"ab......"}, {"zb......"}, "0:0-1 |z| 0'zb'"},
        {"the last column", {"......ab"}, {"......aB"}, "0:7-8 |B| 6'a' 7'B'"},
        {"one unchanged cell between", {"abcdefgh"}, {"azczefgh"}, "0:1-4 |zcz| 0'azcze'"},
        {"two unchanged cells between", {"abcdefgh"}, {"azcdzfgh"}, "0:1-5 |zcdz| 0'azcdzf'"},
        {"three unchanged cells between", {"abcdefgh"}, {"azcdezgh"}, "0:1-2 |z| 0'azc'; 0:5-6 |z| 4'ezg'"},
        {"a row changed wholly", {"abcd", "abcd"}, {"abcd", "wXyz"}, "1:0-4 |wXyz| 0'w' 1'X' 2'yz'"},
        {"cells emptied", {"ab...cd."}, {"........"}, "0:0-2 |  |; 0:5-7 |  |"},
        {"another size", {"ab"}, {"ab..", "..Cd"}, "0:0-4 |ab  | 0'ab'; 1:0-4 |  Cd| 2'C' 3'd'"},
    };
    PaintPlan plan; // one plan for every case: its storage is reused
    for (const PlanCase& c : cases) {
        const CellGrid before = grid_of(c.before);
        const CellGrid now = grid_of(c.now);
        plan.make(before, now);
        EXPECT_EQ(described(plan), c.expected) << c.what;
        EXPECT_EQ(plan.empty(), std::string(c.expected).empty()) << c.what;
    }
}

} // namespace gm
