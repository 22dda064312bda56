#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const swan_right = R"art(
        _
       / o\
       \ ->
       /
\`-.__/ \
 \  `-.  )
  `-----'
)art";
const char* const swan_right_mask = R"art(

         g
         yy
)art";

const char* const swan_left = R"art(
  _
/o \
<- /
   \
  / \__.-'/
 (  .-'  /
  `-----'
)art";
const char* const swan_left_mask = R"art(

 g
yy
)art";

} // namespace

CatalogueEntry swan_entry()
{
    return {"swan", {}, {{{swan_right, swan_right_mask}}, {{swan_left, swan_left_mask}}}, {}};
}

} // namespace gm
