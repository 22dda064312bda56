#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const submarine_right_a = R"art(



                         [=
                     ____|____
                    /  o      |
      _.----==------'         `-----._
 \  ,'  o    o    o    o    o    o    `.
 |=(                                 =  )
 /  `-.______________________________,.-'
)art";
const char* const submarine_right_b = R"art(


                         [=
                         |
                     ____|____
                    /  o      |
      _.----==------'         `-----._
 \  ,'  o    o    o    o    o    o    `.
 |=(                                 =  )
 /  `-.______________________________,.-'
)art";
const char* const submarine_right_c = R"art(

                         [=
                         |
                         |
                     ____|____
                    /  o      |
      _.----==------'         `-----._
 \  ,'  o    o    o    o    o    o    `.
 |=(                                 =  )
 /  `-.______________________________,.-'
)art";
const char* const submarine_right_d = R"art(
                         [=
                         |
                         |
                         |
                     ____|____
                    /  o      |
      _.----==------'         `-----._
 \  ,'  o    o    o    o    o    o    `.
 |=(                                 =  )
 /  `-.______________________________,.-'
)art";
const char* const submarine_right_e = R"art(
                        =]
                         |
                         |
                         |
                     ____|____
                    /  o      |
      _.----==------'         `-----._
 \  ,'  o    o    o    o    o    o    `.
 |=(                                 =  )
 /  `-.______________________________,.-'
)art";
const char* const submarine_right_mask = R"art(
                        www
                         ww
                         ww
                         ww
                         w

            ww
 w      w    w    w    w    w    w
 www                                 w
 w
)art";

const char* const submarine_left_a = R"art(



              =]
           ____|____
          |      o  \
   _.-----'         `------==----._
 .'    o    o    o    o    o    o  `,  /
(  =                                 )=|
`-.,______________________________.-'  \
)art";
const char* const submarine_left_b = R"art(


              =]
               |
           ____|____
          |      o  \
   _.-----'         `------==----._
 .'    o    o    o    o    o    o  `,  /
(  =                                 )=|
`-.,______________________________.-'  \
)art";
const char* const submarine_left_c = R"art(

              =]
               |
               |
           ____|____
          |      o  \
   _.-----'         `------==----._
 .'    o    o    o    o    o    o  `,  /
(  =                                 )=|
`-.,______________________________.-'  \
)art";
const char* const submarine_left_d = R"art(
              =]
               |
               |
               |
           ____|____
          |      o  \
   _.-----'         `------==----._
 .'    o    o    o    o    o    o  `,  /
(  =                                 )=|
`-.,______________________________.-'  \
)art";
const char* const submarine_left_e = R"art(
               [=
               |
               |
               |
           ____|____
          |      o  \
   _.-----'         `------==----._
 .'    o    o    o    o    o    o  `,  /
(  =                                 )=|
`-.,______________________________.-'  \
)art";
const char* const submarine_left_mask = R"art(
              www
              ww
              ww
              ww
               w

                           ww
       w    w    w    w    w    w      w
   w                                 www
                                       w
)art";

} // namespace

CatalogueEntry submarine_entry()
{
    // The periscope comes up, looks ahead, looks back, looks ahead and goes down.
    return {"submarine",
            {},
            {
                {{submarine_right_a, submarine_right_mask}, {submarine_right_b, submarine_right_mask}, {submarine_right_c, submarine_right_mask}, {submarine_right_d, submarine_right_mask}, {submarine_right_e, submarine_right_mask}, {submarine_right_d, submarine_right_mask}, {submarine_right_c, submarine_right_mask}, {submarine_right_b, submarine_right_mask}, {submarine_right_a, submarine_right_mask}},
                {{submarine_left_a, submarine_left_mask}, {submarine_left_b, submarine_left_mask}, {submarine_left_c, submarine_left_mask}, {submarine_left_d, submarine_left_mask}, {submarine_left_e, submarine_left_mask}, {submarine_left_d, submarine_left_mask}, {submarine_left_c, submarine_left_mask}, {submarine_left_b, submarine_left_mask}, {submarine_left_a, submarine_left_mask}},
            },
            {}};
}

} // namespace gm
