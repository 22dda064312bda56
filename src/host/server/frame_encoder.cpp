#include "host/server/frame_encoder.h"

#include <charconv>

namespace gm {

namespace {

void append_number(std::string& out, std::int32_t value)
{
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void move_to(std::string& out, std::int32_t row, std::int32_t column)
{
    out += "\x1b[";
    append_number(out, row + 1);
    out += ';';
    append_number(out, column + 1);
    out += 'H';
}

bool blank(char character) { return character == ' ' || character < 0x21 || character > 0x7e; }

} // namespace

void append_frame(std::string& out, const PaintPlan& plan, std::int32_t rows, ColourDepth depth)
{
    out += "\x1b[?2026h";
    // A colour set by the frame before may not be the one its first cell wants.
    bool known = false;
    Colour current = 0;
    for (const PaintSpan& span : plan.spans()) {
        move_to(out, span.row, span.first);
        for (const Cell& cell : plan.cells(span)) {
            if (blank(cell.character)) {
                out += ' ';
                continue;
            }
            if (depth != ColourDepth::none && (!known || cell.colour != current)) {
                append_foreground(out, cell.colour, depth);
                known = true;
                current = cell.colour;
            }
            out += cell.character;
        }
    }
    if (known) out += "\x1b[0m";
    move_to(out, rows - 1, 0);
    out += "\x1b[?2026l";
}

} // namespace gm
