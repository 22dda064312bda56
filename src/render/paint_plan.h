#pragma once
#include <concepts>
#include <cstdint>
#include <span>
#include <vector>

#include "render/cell_grid.h"
#include "render/grid_diff.h"
#include "render/runs.h"

namespace gm {

// What to paint to bring a picture of the grid last drawn up to the grid now:
// the stretches of cells to clear to black and, for each, the colour runs to
// draw over it, clipped to it. A window painter hands it to paint() with a
// backend of two calls; a terminal writes each span's cells once; the page
// receives it flattened through the WebAssembly interface.
//
// Changes of one row with at most two unchanged cells between them make one
// span. A span's runs are taken from a cell before it to a cell after it, as
// a glyph may reach a pixel into its neighbour's cell: with two unchanged
// cells between two spans, those reach over the whole gap, so joining them
// draws no glyph more and spares a clear and a clip; from three cells on,
// joining would draw again cells that nothing asked for.
//
// A grid of another size than the one last drawn changed wholly: every row
// is one span.

struct PaintSpan {
    std::int32_t row = 0;
    std::int32_t first = 0;
    std::int32_t end = 0;       // one past the last column
    std::int32_t first_run = 0; // where its runs start among the plan's runs
    std::int32_t run_count = 0;
};

class PaintPlan {
public:
    // Plans the paint from `before` to `now`, reusing this plan's storage.
    // Reading the spans' cells needs `now` alive and unchanged.
    void make(const CellGrid& before, const CellGrid& now);

    std::span<const PaintSpan> spans() const { return spans_; }
    // The runs to draw over `span`, left to right: those over it and over the
    // cell each side of it, cut there.
    std::span<const ColourRun> runs_over(const PaintSpan& span) const
    {
        return std::span(runs_.runs()).subspan(static_cast<std::size_t>(span.first_run),
                                               static_cast<std::size_t>(span.run_count));
    }
    // The cells of `now` that `span` covers, for a painter that writes cells.
    std::span<const Cell> cells(const PaintSpan& span) const
    {
        return {now_->row(span.row) + span.first, static_cast<std::size_t>(span.end - span.first)};
    }
    // Every span's runs, in the order of the spans, and the characters their
    // texts view.
    const ColourRuns& runs() const { return runs_; }
    // The smallest rectangle holding every span.
    CellRect bounds() const;
    bool empty() const { return spans_.empty(); }

private:
    const CellGrid* now_ = nullptr;
    std::vector<PaintSpan> spans_;
    std::vector<ColumnSpan> row_spans_;
    ColourRuns runs_;
};

// A painter's two calls: clear a span to black, and draw a run clipped to
// the span it is drawn over.
template <typename Backend>
concept PaintBackend = requires(Backend& backend, const PaintSpan& span, const ColourRun& run) {
    backend.clear(span);
    backend.draw(span, run);
};

// Each span is cleared, then its runs are drawn, before the next span.
template <PaintBackend Backend>
void paint(const PaintPlan& plan, Backend& backend)
{
    for (const PaintSpan& span : plan.spans()) {
        backend.clear(span);
        for (const ColourRun& run : plan.runs_over(span)) backend.draw(span, run);
    }
}

} // namespace gm
