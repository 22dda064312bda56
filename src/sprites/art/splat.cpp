#include "sprites/small_art.h"

namespace gm {

const std::array<std::string_view, 4>& splat_pictures()
{
    // Each spatter is wider than the last, so the splat seems to spread
    // outwards from where the fish was caught.
    static constexpr std::array<std::string_view, 4> pictures = {
        R"art(

 . ,
.'*;.
 ` '
)art",
        R"art(
 .'.,
;'*"*.
 `.;'
)art",
        R"art( . ' ,
`.'*;'.
;'"*",;
 '.`'
)art",
        R"art(.  '  ,
 `. ; .'
~;'*"*';.
 ,'.;`.`
'  ,  `
)art",
    };
    return pictures;
}

} // namespace gm
