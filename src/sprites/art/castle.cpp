#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const castle_closed = R"art(
               |>>
               |
              /^\
             /   \
            /     \
 _ _ _ _   /_______\   _ _ _ _
|_|_|_|_|__|       |__|_|_|_|_|
|  [ ]     |  [ ]  |     [ ]  |
|          |       |          |
|  [ ]     | .---. |     [ ]  |
|          | |#|#| |          |
|          | |#|#| |          |
|__________|_|#|#|_|__________|
)art";
const char* const castle_closed_mask = R"art(
                GG

              rrr
             r   r
            r     r
           rrrrrrrrr



             yyyyy
             yyyyy
             yyyyy
             yyyyy
)art";

const char* const castle_lifting = R"art(
               |>>
               |
              /^\
             /   \
            /     \
 _ _ _ _   /_______\   _ _ _ _
|_|_|_|_|__|       |__|_|_|_|_|
|  [ ]     |  [ ]  |     [ ]  |
|          |       |          |
|  [ ]     | .---. |     [ ]  |
|          | |#|#| |          |
|          | |#|#| |          |
|__________|_|   |_|__________|
)art";
const char* const castle_lifting_mask = R"art(
                GG

              rrr
             r   r
            r     r
           rrrrrrrrr



             yyyyy
             yyyyy
             yyyyy
             y   y
)art";

const char* const castle_half_open = R"art(
               |>>
               |
              /^\
             /   \
            /     \
 _ _ _ _   /_______\   _ _ _ _
|_|_|_|_|__|       |__|_|_|_|_|
|  [ ]     |  [ ]  |     [ ]  |
|          |       |          |
|  [ ]     | .---. |     [ ]  |
|          | |#|#| |          |
|          | |   | |          |
|__________|_|   |_|__________|
)art";
const char* const castle_half_open_mask = R"art(
                GG

              rrr
             r   r
            r     r
           rrrrrrrrr



             yyyyy
             yyyyy
             y   y
             y   y
)art";

const char* const castle_open = R"art(
               |>>
               |
              /^\
             /   \
            /     \
 _ _ _ _   /_______\   _ _ _ _
|_|_|_|_|__|       |__|_|_|_|_|
|  [ ]     |  [ ]  |     [ ]  |
|          |       |          |
|  [ ]     | .---. |     [ ]  |
|          | |   | |          |
|          | |   | |          |
|__________|_|   |_|__________|
)art";
const char* const castle_open_mask = R"art(
                GG

              rrr
             r   r
            r     r
           rrrrrrrrr



             yyyyy
             y   y
             y   y
             y   y
)art";

} // namespace

CatalogueEntry castle_entry()
{
    // The gate opens and closes again: frame 4 repeats frame 2, frame 5 frame 1.
    return {"castle",
            {
                {castle_closed, castle_closed_mask},
                {castle_lifting, castle_lifting_mask},
                {castle_half_open, castle_half_open_mask},
                {castle_open, castle_open_mask},
                {castle_half_open, castle_half_open_mask},
                {castle_lifting, castle_lifting_mask},
            },
            {},
            {}};
}

} // namespace gm
