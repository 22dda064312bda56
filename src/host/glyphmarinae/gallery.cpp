#include <map>
#include <string>

#include "host/glyphmarinae/headless.h"
#include "population/looks.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/text_render.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"

namespace gm {

namespace {

std::string render(const SpriteFrame& frame, bool colour)
{
    CellGrid grid(frame.width, frame.height);
    stamp(grid, frame, 0, 0, false);
    return colour ? grid_to_ansi(grid) : grid_to_text(grid);
}

std::string heading(const CatalogueEntry& entry, std::string_view field, std::size_t index, const SpriteFrame& frame,
                    std::string_view direction)
{
    return "== " + entry.key + " " + std::string(field) + " " + std::to_string(index) + "  " +
           std::to_string(frame.width) + "x" + std::to_string(frame.height) +
           (direction.empty() ? "" : "  " + std::string(direction)) + "\n";
}

std::string_view variant_direction(const CatalogueEntry& entry, std::size_t index)
{
    if (entry.key == "castle") return "";
    return index % 2 == 0 ? "right" : "left";
}

// The pictures the creators draw without the catalogue: made by the creators
// themselves into a scratch scene, so that they show as they swim. What is
// hidden (the shark's teeth, the hook's point) is never drawn, so not shown.
std::string creator_pictures(bool colour)
{
    Scene scene;
    scene.random.seed(1);
    add_water_lines(scene);
    add_seaweed(scene, 1);
    add_bubble(scene, 0, 0);
    add_splat(scene, 4, 2, 3);
    add_fishhook(scene);
    std::string out;
    std::map<std::string, int> shown; // the four water lines share a name
    for (const Entity& entity : scene.entities) {
        if (entity.hidden) continue;
        for (const SpriteFrame& frame : entity.frames) {
            out += "== " + entity.name + " frame " + std::to_string(shown[entity.name]++) + "  " +
                   std::to_string(frame.width) + "x" + std::to_string(frame.height) + "\n" + render(frame, colour) +
                   "\n";
        }
    }
    return out;
}

} // namespace

// Each picture in the colours its creator gives it; fish get sample colours
// from a fixed seed.
std::string gallery_text(bool colour)
{
    Random random(1);
    std::string out;
    for (const CatalogueEntry& entry : catalogue()) {
        const Look look = look_of(entry.key);
        for (std::size_t v = 0; v < entry.variants.size(); ++v) {
            const SpriteFrame frame = build_frame(entry.variants[v], look.colour, look.randomize, look.white_eye, random);
            out += heading(entry, "variant", v, frame, variant_direction(entry, v)) + render(frame, colour) + "\n";
        }
        for (std::size_t list = 0; list < entry.animations.size(); ++list) {
            for (std::size_t f = 0; f < entry.animations[list].size(); ++f) {
                const SpriteFrame frame = build_frame(entry.animations[list][f], look.colour, look.randomize, look.white_eye, random);
                const std::string field = "animation " + std::to_string(list) + " frame";
                out += heading(entry, field, f, frame, list == 0 ? "right" : "left") + render(frame, colour) + "\n";
            }
        }
        for (std::size_t x = 0; x < entry.extras.size(); ++x) {
            const SpriteFrame frame(entry.extras[x], colours::bright_cyan, false);
            out += heading(entry, "extra", x, frame, "") + render(frame, colour) + "\n";
        }
    }
    return out + creator_pictures(colour);
}

} // namespace gm
