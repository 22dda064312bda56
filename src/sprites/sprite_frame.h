#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sprites/colour.h"

namespace gm {

// Rows of a text: a line feed ends a row (an empty one too), a final line
// feed adds no row, and the text ends at its first zero byte.
std::vector<std::string> split_rows(std::string_view text);

// One picture with its colour mask. Blanks reachable from the border are
// see-through; blanks enclosed by drawn characters hide what lies behind.
class SpriteFrame {
public:
    SpriteFrame() = default;
    SpriteFrame(std::string_view picture_text, std::string_view mask_text, Colour default_colour,
                bool blanks_transparent);
    SpriteFrame(std::string_view picture_text, Colour default_colour, bool blanks_transparent);

    char cell_at(int x, int y) const;
    char mask_at(int x, int y) const;
    bool is_transparent(int x, int y) const;
    Colour colour_at(int x, int y) const { return colour_of(mask_at(x, y), default_colour); }

    // The same for a cell inside the rectangle, named by its index y * width + x,
    // so that composition reads a cell with one lookup and no bounds tests.
    char cell_at(std::size_t index) const { return cells_[index].picture; }
    bool is_transparent(std::size_t index) const
    {
        const char c = cells_[index].picture;
        if (c != ' ' && c != '?') return false;
        if (c == ' ' && blanks_transparent) return true;
        return !outside.empty() && outside[index] != 0;
    }
    Colour colour_at(std::size_t index) const { return colour_of(cells_[index].mask, default_colour); }

    // Makes the blanks between the first and last drawn character of each row
    // from first_row down opaque; '?' cells too when include_marks is set.
    void close_row_gaps(int first_row, bool include_marks);

    bool operator==(const SpriteFrame&) const = default;

    std::vector<std::string> picture;
    std::vector<std::string> mask;
    std::vector<std::uint8_t> outside; // height rows of width bytes, 1 = outside cell
    Colour default_colour = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool blanks_transparent = false;

private:
    void find_outside_cells();

    // The picture and mask characters of one cell; ' ' where a row of the text is short.
    struct TextCell {
        char picture;
        char mask;
        bool operator==(const TextCell&) const = default;
    };
    std::vector<TextCell> cells_; // width * height, row by row
};

} // namespace gm
