#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace gm {

struct SpriteArt {
    std::string picture_text;
    std::string mask_text;
};

struct CatalogueEntry {
    std::string key;
    std::vector<SpriteArt> variants;
    std::vector<std::vector<SpriteArt>> animations;
    std::vector<std::string> extras;
};

using SpriteCatalogue = std::vector<CatalogueEntry>;

// Built on first use, in ascending key order, and never changed afterwards.
const SpriteCatalogue& catalogue();

// The entry with exactly this key, or nullptr.
const CatalogueEntry* find_entry(std::string_view key);

// Each entry's art lives in its own source file under sprites/art.
CatalogueEntry big_fish_1_entry();
CatalogueEntry big_fish_2_entry();
CatalogueEntry castle_entry();
CatalogueEntry dolphin_entry();
CatalogueEntry duck_entry();
CatalogueEntry new_fish_entry();
CatalogueEntry new_monster_entry();
CatalogueEntry old_fish_entry();
CatalogueEntry shark_entry();
CatalogueEntry ship_entry();
CatalogueEntry submarine_entry();
CatalogueEntry swan_entry();
CatalogueEntry sword_fish_entry();
CatalogueEntry whale_entry();

} // namespace gm
