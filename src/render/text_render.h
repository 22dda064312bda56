#pragma once
#include <string>

#include "render/cell_grid.h"

namespace gm {

// One line per row, exactly `columns` characters; empty cells and opaque
// blanks both read as blanks.
std::string grid_to_text(const CellGrid& grid);

// The same with ANSI colour codes: dark shades 30-37, bright ones 90-97.
std::string grid_to_ansi(const CellGrid& grid);

// The index 0-15 of the standard terminal colour nearest to a design colour:
// dark shades 1-6, grey 7, bright shades 9-14, white 15, black 0.
int terminal_colour_index(Colour colour);

// The SGR parameter that selects that colour for the text: 30-37 or 90-97.
int ansi_foreground_code(int colour_index);

} // namespace gm
