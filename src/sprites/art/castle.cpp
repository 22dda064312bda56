#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const castle_closed = R"art(
             |~~
             |
            /|\
           /   \
          /     \
        _/_______\_      _   _
        |    _    |     | |_| |
 _   _  |   (_)   |  _  |     |
| |_| |_|         |_| |_|  [] |
|       |  .---.  |           |
|  []   |  |###|  |  []       |
|       |  |###|  |           |
|_______|__|vvv|__|___________|
)art";
const char* const castle_closed_mask = R"art(
              GG

            r r
           r   r
          r     r
        rrrrrrrrrrr



           yyyyy
           yyyyy
           yyyyy
           yyyyy
)art";

const char* const castle_lifting = R"art(
             |~~
             |
            /|\
           /   \
          /     \
        _/_______\_      _   _
        |    _    |     | |_| |
 _   _  |   (_)   |  _  |     |
| |_| |_|         |_| |_|  [] |
|       |  .---.  |           |
|  []   |  |###|  |  []       |
|       |  |vvv|  |           |
|_______|__|   |__|___________|
)art";
const char* const castle_lifting_mask = R"art(
              GG

            r r
           r   r
          r     r
        rrrrrrrrrrr



           yyyyy
           yyyyy
           yyyyy
           y   y
)art";

const char* const castle_half_open = R"art(
             |~~
             |
            /|\
           /   \
          /     \
        _/_______\_      _   _
        |    _    |     | |_| |
 _   _  |   (_)   |  _  |     |
| |_| |_|         |_| |_|  [] |
|       |  .---.  |           |
|  []   |  |vvv|  |  []       |
|       |  |   |  |           |
|_______|__|   |__|___________|
)art";
const char* const castle_half_open_mask = R"art(
              GG

            r r
           r   r
          r     r
        rrrrrrrrrrr



           yyyyy
           yyyyy
           y   y
           y   y
)art";

const char* const castle_open = R"art(
             |~~
             |
            /|\
           /   \
          /     \
        _/_______\_      _   _
        |    _    |     | |_| |
 _   _  |   (_)   |  _  |     |
| |_| |_|         |_| |_|  [] |
|       |  .---.  |           |
|  []   |  |   |  |  []       |
|       |  |   |  |           |
|_______|__|   |__|___________|
)art";
const char* const castle_open_mask = R"art(
              GG

            r r
           r   r
          r     r
        rrrrrrrrrrr



           yyyyy
           y   y
           y   y
           y   y
)art";

} // namespace

CatalogueEntry castle_entry()
{
    // Played in order the gate rises and falls again, so the last two frames
    // step back through the middle ones.
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
