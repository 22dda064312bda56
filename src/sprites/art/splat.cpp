#include "sprites/small_art.h"

namespace gm {

// Spatters that grow as they fade.
const std::array<std::string_view, 4>& splat_pictures()
{
    static const std::array<std::string_view, 4> pictures = {
        R"art(

. . .
 ;*;
` ' '
)art",
        R"art(
 .,*.
'*;*.'
 `.'
)art",
        R"art(.  *  ,
`;*"*;'
 .*~*.
'  ,  `
)art",
        R"art('  . ` ,
 `.;*;. '
.;*"~"*;.
 ,`*;*'.
'  ` '  `
)art",
    };
    return pictures;
}

} // namespace gm
