#include "sprites/catalogue.h"

namespace gm {

const SpriteCatalogue& catalogue()
{
    // A function-local static: built once, safely even against concurrent first calls.
    static const SpriteCatalogue entries = {
        big_fish_1_entry(), big_fish_2_entry(), castle_entry(),      dolphin_entry(), duck_entry(),
        new_fish_entry(),   new_monster_entry(), old_fish_entry(),    shark_entry(),   ship_entry(),
        submarine_entry(),  swan_entry(),        sword_fish_entry(),  whale_entry(),
    };
    return entries;
}

const CatalogueEntry* find_entry(std::string_view key)
{
    for (const CatalogueEntry& entry : catalogue())
        if (entry.key.size() == key.size() && entry.key == key) return &entry;
    return nullptr;
}

} // namespace gm
