#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const new_monster_right_0 = R"art(
         __??????????__??????????__           ,-o-o-.
     ,-'    `-.??,-'    `-.??,-'    `-.????,'       `>
~~~~'         `?'         `?'         `-.-'   ,------'
                                            `
)art";

const char* const new_monster_right_1 = R"art(
      __??????????__??????????__              ,-o-o-.
  ,-'    `-.??,-'    `-.??,-'    `-.???????,'       `>
 '         `?'         `?'         `-.__.-'   ,------'
                                            `
)art";

const char* const new_monster_right_mask = R"art(
                                                W W



)art";

const char* const new_monster_left_0 = R"art(
 .-o-o-,           __??????????__??????????__
<'       `,????.-'    `-,??.-'    `-,??.-'    `-,
`------,   `-.-'         `?'         `?'         `~~~~
         '
)art";

const char* const new_monster_left_1 = R"art(
 .-o-o-,              __??????????__??????????__
<'       `,???????.-'    `-,??.-'    `-,??.-'    `-,
`------,   `-.__.-'         `?'         `?'         `
         '
)art";

const char* const new_monster_left_mask = R"art(
   W W



)art";

} // namespace

CatalogueEntry new_monster_entry()
{
    return {"new_monster",
            {},
            {
                {{new_monster_right_0, new_monster_right_mask}, {new_monster_right_1, new_monster_right_mask}},
                {{new_monster_left_0, new_monster_left_mask}, {new_monster_left_1, new_monster_left_mask}},
            },
            {}};
}

} // namespace gm
