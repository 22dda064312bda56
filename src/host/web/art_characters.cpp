#include "host/web/art_characters.h"

#include <bitset>
#include <string_view>

#include "engine/scene.h"
#include "population/population.h"
#include "sprites/catalogue.h"

namespace gm {

std::string art_characters()
{
    std::bitset<256> used;
    const auto take = [&used](std::string_view text) {
        for (const char character : text) used.set(static_cast<unsigned char>(character));
    };
    for (const CatalogueEntry& entry : catalogue()) {
        for (const SpriteArt& art : entry.variants) take(art.picture_text);
        for (const auto& animation : entry.animations)
            for (const SpriteArt& art : animation) take(art.picture_text);
        for (const std::string& extra : entry.extras) take(extra);
    }
    // The water, the seaweed, the bubbles, the splats and the hook are drawn
    // by their creators from no catalogue entry, so they are made here.
    Scene scene;
    add_water_lines(scene);
    add_seaweed(scene, 1);
    add_bubble(scene, 0, 0);
    add_splat(scene, 4, 2, 3);
    add_fishhook(scene);
    for (const Entity& entity : scene.entities)
        for (const SpriteFrame& frame : entity.frames)
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x) used.set(static_cast<unsigned char>(frame.cell_at(x, y)));
    std::string characters;
    for (int code = '!'; code < 256; ++code) // a blank and the control characters leave no ink
        if (used.test(static_cast<std::size_t>(code)) && code != 127) characters += static_cast<char>(code);
    return characters;
}

} // namespace gm
