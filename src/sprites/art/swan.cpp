#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const swan_right_0 = R"art(
        __
       / o\
       |,=>
       ||
  __.-'||
 <  ,    )
  `-.__.'
)art";

const char* const swan_right_mask = R"art(

         g
         yy




)art";

const char* const swan_left_0 = R"art(
 __
/o \
<=,|
  ||
  ||`-.__
 (    ,  > 
  `.__.-'
)art";

const char* const swan_left_mask = R"art(

 g
yy




)art";

} // namespace

CatalogueEntry swan_entry()
{
    return {"swan",
            {},
            {
                {{swan_right_0, swan_right_mask}},
                {{swan_left_0, swan_left_mask}},
            },
            {}};
}

} // namespace gm
