#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "render/cell_grid.h"

namespace gm {

// A maximal stretch of one row's cells that share a colour and are not empty;
// opaque blanks are given as ' ' in the text. The text views the characters
// of the ColourRuns that split it and lives as long as they do.
struct ColourRun {
    std::int32_t column = 0;
    Colour colour = 0;
    std::string_view text;
    std::int32_t end() const { return column + static_cast<std::int32_t>(text.size()); }
    bool operator==(const ColourRun&) const = default;
};

// Runs and the characters they view, kept from one split to the next: once
// the storage has grown to the widest split, splitting allocates nothing.
// Not copyable, as a copy's texts would view the original's characters;
// moving keeps them valid.
class ColourRuns {
public:
    ColourRuns() = default;
    ColourRuns(const ColourRuns&) = delete;
    ColourRuns& operator=(const ColourRuns&) = delete;
    ColourRuns(ColourRuns&& other) noexcept { *this = std::move(other); }
    ColourRuns& operator=(ColourRuns&& other) noexcept
    {
        characters_ = std::move(other.characters_);
        used_ = std::exchange(other.used_, 0);
        runs_ = std::move(other.runs_);
        other.runs_.clear();
        return *this;
    }

    // Forgets the runs and makes room for `characters` of the runs to come,
    // so that appending them moves no storage.
    void start(std::size_t characters);
    // Appends the runs of the columns [first, end) of `row`, left to right; a
    // run reaching past either bound is cut at it.
    void append(const CellGrid& grid, std::int32_t row, std::int32_t first, std::int32_t end);

    const std::vector<ColourRun>& runs() const { return runs_; }
    // Every run's text, one after another, in the order of the runs.
    std::string_view characters() const { return {characters_.data(), used_}; }
    auto begin() const { return runs_.begin(); }
    auto end() const { return runs_.end(); }
    std::size_t size() const { return runs_.size(); }
    bool empty() const { return runs_.empty(); }

private:
    // Grows the storage to hold `characters` more, moving the texts with it.
    void make_room(std::size_t characters);

    std::vector<char> characters_; // written up to used_; a vector keeps its elements in place when moved
    std::size_t used_ = 0;
    std::vector<ColourRun> runs_;
};

// The whole row's runs.
ColourRuns split_runs(const CellGrid& grid, std::int32_t row);
// The same, reusing the caller's storage (the per-frame path).
void split_runs(const CellGrid& grid, std::int32_t row, ColourRuns& runs);
// The picture recorder's form until it paints through a PaintPlan: the texts
// view storage of the calling thread that its next call reuses.
void split_runs(const CellGrid& grid, std::int32_t row, std::vector<ColourRun>& runs);

} // namespace gm
