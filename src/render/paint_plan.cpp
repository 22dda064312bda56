#include "render/paint_plan.h"

#include <algorithm>

namespace gm {

namespace {

// Stretches with fewer unchanged cells than this between them are joined.
constexpr std::int32_t join_gap = 3;

} // namespace

void PaintPlan::make(const CellGrid& before, const CellGrid& now)
{
    now_ = &now;
    spans_.clear();
    std::size_t characters = 0;
    for (std::int32_t row = 0; row < now.rows; ++row) {
        row_spans_.clear();
        changed_spans(before, now, row, join_gap, row_spans_);
        for (const ColumnSpan span : row_spans_) {
            spans_.push_back({row, span.first, span.end, 0, 0});
            characters += static_cast<std::size_t>(span.end - span.first + 2);
        }
    }
    // Room for every span's runs at once: the texts of the first must not
    // move while the last are split.
    runs_.start(characters);
    for (PaintSpan& span : spans_) {
        span.first_run = static_cast<std::int32_t>(runs_.size());
        runs_.append(now, span.row, span.first - 1, span.end + 1);
        span.run_count = static_cast<std::int32_t>(runs_.size()) - span.first_run;
    }
}

CellRect PaintPlan::bounds() const
{
    if (spans_.empty()) return {};
    CellRect rect = CellRect::nothing_yet(*now_);
    for (const PaintSpan& span : spans_) rect.include(span.row, {span.first, span.end});
    return rect;
}

} // namespace gm
