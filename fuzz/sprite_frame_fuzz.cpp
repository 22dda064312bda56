// A frame built from any picture and mask text, and every query on it: cells,
// transparency anywhere (far outside included), closing row gaps from any
// first row, stamping at any position into a small grid, and collisions with a
// second fuzzed frame at any position.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "engine/collisions.h"
#include "fuzz_check.h"
#include "render/compose.h"
#include "sprites/sprite_frame.h"

namespace {

using namespace gm;

// Near the frame most of the time, anywhere now and then.
int any_coordinate(FuzzedDataProvider& in, int extent)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return in.PickValueInArray({INT_MIN, INT_MAX, -1, 0});
    default: return in.ConsumeIntegralInRange(-3, extent + 3);
    }
}

float any_position(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeFloatingPoint<float>();
    case 1: return in.PickValueInArray({-0.5f, -1e10f, 1e10f, NAN, INFINITY, -INFINITY});
    default: return in.ConsumeFloatingPointInRange(-40.0f, 40.0f);
    }
}

SpriteFrame any_frame(FuzzedDataProvider& in)
{
    const std::string picture = in.ConsumeRandomLengthString(600);
    const std::string mask = in.ConsumeRandomLengthString(600);
    const auto colour = in.ConsumeIntegral<Colour>();
    const bool blanks_transparent = in.ConsumeBool();
    return in.ConsumeBool() ? SpriteFrame(picture, mask, colour, blanks_transparent)
                            : SpriteFrame(picture, colour, blanks_transparent);
}

void check_shape(const SpriteFrame& f)
{
    FUZZ_REQUIRE(f.height == static_cast<std::int32_t>(f.picture.size()));
    std::int32_t widest = 0;
    for (const std::string& row : f.picture) widest = std::max(widest, static_cast<std::int32_t>(row.size()));
    FUZZ_REQUIRE(f.width == widest);
    FUZZ_REQUIRE(f.outside.size() == static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height));
}

// Transparency and the cell agree: a drawn character is never transparent,
// and nothing outside the frame is ever opaque.
void check_cells(const SpriteFrame& f, FuzzedDataProvider& in)
{
    const int w = std::min(f.width, 80), h = std::min(f.height, 80);
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= w; ++x) {
            const char c = f.cell_at(x, y);
            const bool transparent = f.is_transparent(x, y);
            if (c != ' ' && c != '?') FUZZ_REQUIRE(!transparent);
            if (x < 0 || y < 0 || x >= f.width || y >= f.height) FUZZ_REQUIRE(c == ' ' && transparent);
            (void)f.colour_at(x, y);
        }
    for (int i = 0; i < 8 && in.remaining_bytes() > 0; ++i) {
        const int x = any_coordinate(in, f.width), y = any_coordinate(in, f.height);
        const bool inside = x >= 0 && y >= 0 && x < f.width && y < f.height;
        if (!inside) FUZZ_REQUIRE(f.is_transparent(x, y) && f.cell_at(x, y) == ' ');
        (void)f.mask_at(x, y);
    }
}

// Closing gaps only ever makes cells opaque, and only blanks or marks.
void check_close_gaps(SpriteFrame f, int first_row, bool include_marks)
{
    const SpriteFrame before = f;
    f.close_row_gaps(first_row, include_marks);
    FUZZ_REQUIRE(f.picture == before.picture && f.width == before.width && f.height == before.height);
    const int w = std::min(f.width, 80), h = std::min(f.height, 80);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!before.is_transparent(x, y)) FUZZ_REQUIRE(!f.is_transparent(x, y));
            if (y < first_row && f.is_transparent(x, y) != before.is_transparent(x, y)) FUZZ_REQUIRE(false);
        }
}

// Stamping writes only inside the frame's rectangle, clipped to the grid.
void check_stamp(const SpriteFrame& f, FuzzedDataProvider& in)
{
    CellGrid grid(in.ConsumeIntegralInRange(0, 40), in.ConsumeIntegralInRange(0, 20));
    for (Cell& cell : grid.cells) cell = Cell{in.PickValueInArray({' ', '\0', 'x'}), 7};
    const CellGrid before = grid;
    const int left = any_coordinate(in, grid.columns), top = any_coordinate(in, grid.rows);
    const bool fill_only = in.ConsumeBool();
    stamp(grid, f, left, top, fill_only);
    for (std::int32_t r = 0; r < grid.rows; ++r)
        for (std::int32_t c = 0; c < grid.columns; ++c) {
            const long long j = static_cast<long long>(c) - left, i = static_cast<long long>(r) - top;
            const bool covered = j >= 0 && i >= 0 && j < f.width && i < f.height;
            const bool changed = !(grid.at(c, r) == before.at(c, r));
            if (changed) {
                FUZZ_REQUIRE(covered && !f.is_transparent(static_cast<int>(j), static_cast<int>(i)));
                if (fill_only) FUZZ_REQUIRE(before.at(c, r).character == ' ');
            }
        }
}

Entity entity_with(const SpriteFrame& f, FuzzedDataProvider& in)
{
    Entity e;
    e.alive = true;
    e.frames.push_back(f);
    e.x = any_position(in);
    e.y = any_position(in);
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const SpriteFrame first = any_frame(in);
    check_shape(first);
    check_cells(first, in);
    check_close_gaps(first, any_coordinate(in, first.height), in.ConsumeBool());
    check_stamp(first, in);

    const SpriteFrame second = any_frame(in);
    check_shape(second);
    const Entity a = entity_with(first, in);
    const Entity b = entity_with(second, in);
    FUZZ_REQUIRE(collides(a, b) == collides(b, a));
    Entity empty;
    FUZZ_REQUIRE(!collides(a, empty) && !collides(empty, b));
    return 0;
}
