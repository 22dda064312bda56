#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const shark_right = R"art(
                   ,
                   |\
                   | `.
 |`.          __..-'   `''-----..___
 |  `.   _.-''                      ``--.._
 |    >-'       )))            .o       _________`-._
 |  ,' `-.      )))         ,'         /         \  >
 |,'      `-._  )))     _.--'          (^^^^^^^^) _,'
             `-..___    _.-'`--.___    `--------'_.'
                    ``''           ``-------''
)art";
const char* const shark_right_mask = R"art(





                               cR

                                       cWWWWWWWW


)art";
const char* const shark_left = R"art(
                                 ,
                                /|
                              .' |
                 ___..-----``'   `-..__          .'| 
          _..--''                      ``-._   .'  |
_.-'_________       o.            (((       `-<    |
<  /         \         `,         (((      .-' `,  |
`,_ (^^^^^^^^)          `--._     (((  _.-'      `,|
 `._`--------'    ___.--'`-._    ___..-'
       ``-------''           ``''
)art";
const char* const shark_left_mask = R"art(





                    Rc

     WWWWWWWWc


)art";

} // namespace

CatalogueEntry shark_entry()
{
    return {"shark", {{shark_right, shark_right_mask}, {shark_left, shark_left_mask}}, {}, {}};
}

} // namespace gm
