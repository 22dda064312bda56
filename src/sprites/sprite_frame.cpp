#include "sprites/sprite_frame.h"

#include <algorithm>
#include <utility>

namespace gm {

namespace {

bool is_empty_char(char c) { return c == ' ' || c == '?'; }

} // namespace

std::vector<std::string> split_rows(std::string_view text)
{
    std::vector<std::string> rows;
    std::string current;
    for (char c : text) {
        if (c == '\0') break;
        if (c == '\n') {
            rows.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) rows.push_back(std::move(current));
    return rows;
}

SpriteFrame::SpriteFrame(std::string_view picture_text, std::string_view mask_text, Colour default_colour_,
                         bool blanks_transparent_)
    : picture(split_rows(picture_text)), mask(split_rows(mask_text)), default_colour(default_colour_),
      blanks_transparent(blanks_transparent_)
{
    for (const std::string& row : picture) width = std::max(width, static_cast<std::int32_t>(row.size()));
    height = static_cast<std::int32_t>(picture.size());
    // A mask row may be longer than the frame; what lies beyond it is never read.
    const auto w = static_cast<std::size_t>(width);
    cells_.assign(w * picture.size(), TextCell{' ', ' '});
    for (std::size_t y = 0; y < picture.size(); ++y) {
        for (std::size_t x = 0; x < picture[y].size(); ++x) cells_[y * w + x].picture = picture[y][x];
        if (y >= mask.size()) continue;
        for (std::size_t x = 0; x < std::min(mask[y].size(), w); ++x) cells_[y * w + x].mask = mask[y][x];
    }
    find_outside_cells();
}

SpriteFrame::SpriteFrame(std::string_view picture_text, Colour default_colour_, bool blanks_transparent_)
    : SpriteFrame(picture_text, std::string_view{}, default_colour_, blanks_transparent_)
{
}

char SpriteFrame::cell_at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) return ' ';
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)].picture;
}

char SpriteFrame::mask_at(int x, int y) const
{
    if (x < 0 || y < 0 || static_cast<std::size_t>(y) >= mask.size()) return ' ';
    const std::string& row = mask[static_cast<std::size_t>(y)];
    return static_cast<std::size_t>(x) < row.size() ? row[static_cast<std::size_t>(x)] : ' ';
}

void SpriteFrame::find_outside_cells()
{
    outside.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    if (width == 0 || height == 0) return;

    std::vector<std::pair<int, int>> stack;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::uint8_t& mark = outside[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        if (mark || !is_empty_char(cell_at(x, y))) return;
        mark = 1;
        stack.emplace_back(x, y);
    };
    for (int x = 0; x < width; ++x) {
        visit(x, 0);
        visit(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        visit(0, y);
        visit(width - 1, y);
    }
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
}

bool SpriteFrame::is_transparent(int x, int y) const
{
    // Beyond the rectangle every cell reads as a see-through blank.
    if (x < 0 || y < 0 || x >= width || y >= height) return true;
    return is_transparent(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
}

void SpriteFrame::close_row_gaps(int first_row, bool include_marks)
{
    for (int y = std::max(first_row, 0); y < height; ++y) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < width; ++x) {
            if (is_empty_char(cell_at(x, y))) continue;
            if (first < 0) first = x;
            last = x;
        }
        if (first < 0 || first == last) continue;
        for (int x = first + 1; x < last; ++x) {
            const char c = cell_at(x, y);
            if (c == ' ' || (c == '?' && include_marks))
                outside[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = 0;
        }
    }
}

} // namespace gm
