// The C interface the page's JavaScript calls. The page reads the paint plan
// straight out of the module's memory, so its layout is part of the
// interface and pinned here.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "host/common/default_seed.h"
#include "host/common/mouse_rule.h"
#include "host/common/option_values.h"
#include "host/common/window_metrics.h"
#include "host/web/aquarium.h"
#include "host/web/art_characters.h"
#include "render/text_render.h"

static_assert(sizeof(gm::Colour) == 4 && sizeof(std::int32_t) == 4, "the page reads 32-bit words");

using gm::WebAquarium;

extern "C" {

EMSCRIPTEN_KEEPALIVE WebAquarium* glyph_new() { return new WebAquarium(); }
EMSCRIPTEN_KEEPALIVE void glyph_free(WebAquarium* aquarium) { delete aquarium; }

EMSCRIPTEN_KEEPALIVE void glyph_start(WebAquarium* aquarium, std::int32_t columns, std::int32_t rows, std::uint32_t seed)
{
    gm::web_start(*aquarium, columns, rows, seed);
}
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_compose(WebAquarium* aquarium) { return gm::web_compose(*aquarium); }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_tick(WebAquarium* aquarium) { return gm::web_tick(*aquarium); }
// Moves the scene on without drawing, as for a still frame from further in.
EMSCRIPTEN_KEEPALIVE void glyph_advance(WebAquarium* aquarium, std::int32_t ticks) { gm::web_advance(*aquarium, ticks); }
// The next compose then finds every cell changed, as the page's canvas was cleared.
EMSCRIPTEN_KEEPALIVE void glyph_forget_drawn(WebAquarium* aquarium) { aquarium->drawn = gm::CellGrid(); }

EMSCRIPTEN_KEEPALIVE std::int32_t glyph_columns(const WebAquarium* aquarium) { return aquarium->scene.grid.columns; }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_rows(const WebAquarium* aquarium) { return aquarium->scene.grid.rows; }

// The paint plan of the last start, tick or compose, laid out for the page,
// valid until the next call of any of them or of this. 32-bit words:
//   [0] the span count S, [1] the run count R, [2] the character count T;
//   then S spans of five words: row, first column, one past the last column,
//     the index of its first run, its run count. The page clears each span
//     to black and draws its runs clipped to it;
//   then R runs of four words: column, length, colour (0x00BBGGRR, as in a
//     cell), the offset of its text among the characters;
//   then the T characters, a byte each (an opaque blank given as ' '),
//     padded with zeros to a whole word.
// A span's runs reach a cell past it each side, cut there.
EMSCRIPTEN_KEEPALIVE const std::int32_t* glyph_plan(WebAquarium* aquarium)
{
    gm::flatten_plan(*aquarium);
    return aquarium->flat_plan.data();
}

// The dump's text, plain or with ANSI colours, as glyphmarinae --dump prints it.
EMSCRIPTEN_KEEPALIVE const char* glyph_text(WebAquarium* aquarium, std::int32_t colour)
{
    aquarium->text = colour ? gm::grid_to_ansi(aquarium->scene.grid) : gm::grid_to_text(aquarium->scene.grid);
    return aquarium->text.c_str();
}

// The screensaver's rules, shared with the native hosts: the grace period
// starts now and the next pointer position seen is the remembered one.
EMSCRIPTEN_KEEPALIVE void glyph_watch_mouse(WebAquarium* aquarium, std::uint32_t now_ms)
{
    aquarium->scene.start_tick = now_ms;
    aquarium->scene.mouse_origin = gm::MousePosition{};
}
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_mouse_closes(WebAquarium* aquarium, std::int32_t x, std::int32_t y,
                                                     std::uint32_t now_ms)
{
    return gm::mouse_move_closes(aquarium->scene, x, y, now_ms) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_font_height_for(std::int32_t height) { return gm::font_height_for(height); }

// The native programs' seed of a run given none. A page has one process id
// and a coarse clock, so the count of aquariums it has made so far keeps two
// made together apart.
EMSCRIPTEN_KEEPALIVE std::uint32_t glyph_default_seed(std::uint32_t made)
{
    std::seed_seq mix{gm::default_seed(), made};
    std::uint32_t seed = 0;
    mix.generate(&seed, &seed + 1);
    return seed;
}

// The attributes take what the native programs' options take.
EMSCRIPTEN_KEEPALIVE std::uint32_t glyph_max_seed() { return std::numeric_limits<std::uint32_t>::max(); }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_min_fps() { return gm::min_fps; }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_max_fps() { return gm::max_fps; }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_min_font_size() { return gm::min_font_size; }
EMSCRIPTEN_KEEPALIVE std::int32_t glyph_max_font_size() { return gm::max_font_size; }

// One byte a character, ended by a zero byte; made once.
EMSCRIPTEN_KEEPALIVE const char* glyph_art_characters()
{
    static const std::string characters = gm::art_characters();
    return characters.c_str();
}

} // extern "C"
