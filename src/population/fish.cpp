#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "population/looks.h"
#include "population/population.h"
#include "sprites/catalogue.h"
#include "sprites/colouring.h"
#include "sprites/small_art.h"

namespace gm {

namespace {

// Bubbles and splats draw no random numbers, so their frames are built once,
// on first use, and every new one gets a copy.
template <std::size_t N>
std::vector<SpriteFrame> frames_of(const std::array<std::string_view, N>& pictures, Colour colour,
                                   bool blanks_transparent)
{
    std::vector<SpriteFrame> frames;
    for (std::string_view picture : pictures) frames.emplace_back(picture, colour, blanks_transparent);
    return frames;
}

const std::vector<SpriteFrame>& bubble_frames()
{
    static const std::vector<SpriteFrame> frames =
        frames_of(std::array<std::string_view, 5>{".", "o", "O", "O", "O"}, colours::bright_cyan, false);
    return frames;
}

const std::vector<SpriteFrame>& splat_frames()
{
    static const std::vector<SpriteFrame> frames = frames_of(splat_pictures(), colours::dark_red, true);
    return frames;
}

} // namespace

void add_fish(Scene& scene)
{
    const int t = scene.random.next() % 12;
    const CatalogueEntry* entry = find_entry(t > 8 ? "new_fish" : "old_fish");
    if (!entry || entry->variants.empty()) return;

    const int v = scene.random.next() % static_cast<int>(entry->variants.size());
    const auto speed = static_cast<float>(scene.random.next() / 32767.0 * 2 + 0.25);
    const Look look = look_of(entry->key);
    SpriteFrame frame = build_frame(entry->variants[static_cast<std::size_t>(v)], look.colour, look.randomize,
                                    look.white_eye, scene.random);

    Entity fish;
    fish.alive = true;
    fish.name = "fish";
    const std::int32_t room = scene.rows - frame.height;
    fish.y = room > 9 ? static_cast<float>(scene.random.next() % (room - 9) + 9) : 9.0f;
    fish.depth = scene.random.next() % 17 + 3;
    // Even variants face right, odd ones left.
    if (v % 2 == 0) {
        fish.vx = speed;
        fish.x = static_cast<float>(1 - frame.width);
    } else {
        fish.vx = -speed;
        fish.x = static_cast<float>(scene.columns - 2);
    }
    fish.vy = 0;
    fish.die_offscreen = true;
    fish.counts_as_fish = true;
    fish.frames.push_back(std::move(frame));
    scene.append(std::move(fish));
    ++scene.fish_count;
}

void add_bubble(Scene& scene, float x, float y)
{
    Entity bubble;
    bubble.alive = true;
    bubble.name = "bubble";
    bubble.x = x;
    bubble.y = y;
    bubble.vx = 0;
    bubble.vy = -1.0f;
    bubble.depth = 2;
    bubble.die_offscreen = true;
    bubble.frames = bubble_frames();
    bubble.frame_interval = 10.0f;
    scene.append(std::move(bubble));
}

void add_splat(Scene& scene, float x, float y, std::int32_t depth_arg)
{
    Entity splat;
    splat.alive = true;
    splat.name = "splat";
    splat.x = x - 4.0f;
    splat.y = y - 2.0f;
    splat.depth = depth_arg - 2;
    splat.vx = 0;
    splat.vy = 0;
    splat.lifetime = 15;
    splat.frame_interval = 4.0f;
    splat.frames = splat_frames();
    scene.append(std::move(splat));
}

} // namespace gm
