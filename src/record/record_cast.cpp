#include "record/record_cast.h"

#include "record/json_text.h"
#include "render/grid_diff.h"
#include "render/text_render.h"

namespace gm {

namespace {

// Hide the cursor, black background as the terminal host paints it, clear.
constexpr const char* first_frame_start = "\x1b[?25l\x1b[0;40m\x1b[2J";
constexpr const char* last_frame_end = "\x1b[0m\x1b[?25h";

// Seconds with six decimals from whole numbers, so that no locale and no
// floating-point rounding can change a byte.
std::string event_time(std::int64_t frame, int fps)
{
    const std::int64_t micros = frame * 1'000'000 / fps;
    std::string fraction = std::to_string(micros % 1'000'000);
    return std::to_string(micros / 1'000'000) + "." + std::string(6 - fraction.size(), '0') + fraction;
}

} // namespace

std::string cast_header(std::int32_t columns, std::int32_t rows, std::int64_t timestamp, std::uint32_t seed)
{
    return "{\"version\": 2, \"width\": " + std::to_string(columns) + ", \"height\": " + std::to_string(rows) +
           ", \"timestamp\": " + std::to_string(timestamp) +
           ", \"env\": {\"SHELL\": \"/bin/sh\", \"TERM\": \"xterm-256color\"}, \"title\": " +
           json_string("Glyphmarinae aquarium, seed " + std::to_string(seed)) + "}\n";
}

std::string CastRecorder::redraw(const CellGrid& before, const CellGrid& after)
{
    std::string out;
    for (std::int32_t row = 0; row < after.rows; ++row) {
        const ColumnSpan span = changed_columns(before, after, row);
        if (span.empty()) continue;
        out += "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(span.first + 1) + "H";
        const Cell* cells = after.row(row);
        for (std::int32_t column = span.first; column < span.end; ++column) {
            const Cell& cell = cells[column];
            if (cell.character == ' ' || cell.character == '\0') {
                out += ' '; // only the background shows, whatever the text colour
                continue;
            }
            const int colour = terminal_colour_index(cell.colour);
            if (colour != foreground_) {
                out += "\x1b[" + std::to_string(ansi_foreground_code(colour)) + "m";
                foreground_ = colour;
            }
            out += cell.character;
        }
    }
    return out;
}

void CastRecorder::write_event()
{
    if (frames_ == 0) return;
    std::string event(1, '[');
    event.append(event_time(frames_ - 1, fps_)).append(", \"o\", ").append(json_string(output_)).append("]\n");
    file_.write(event);
    output_.clear();
}

void CastRecorder::add(const CellGrid& grid)
{
    write_event();
    if (frames_ == 0) {
        file_.write(cast_header(grid.columns, grid.rows, timestamp_, seed_));
        // The clear leaves every cell blank, so the first frame draws only what is not.
        previous_.reset(grid.columns, grid.rows);
        output_ = first_frame_start;
    }
    output_ += redraw(previous_, grid);
    previous_ = grid;
    ++frames_;
}

// A player such as asciinema cat leaves the terminal as the cast does, so the
// last frame gives back the default colours and the cursor, and leaves the
// cursor at the start of the line below the picture, where a shell's prompt
// then appears. A line feed there would scroll a terminal of the picture's
// own height, a player's included, by one row; a cursor placed below the last
// row stops on it instead, so only a taller terminal puts the prompt below.
void CastRecorder::finish()
{
    output_ += last_frame_end;
    output_ += "\x1b[" + std::to_string(previous_.rows + 1) + ";1H";
    write_event();
}

} // namespace gm
