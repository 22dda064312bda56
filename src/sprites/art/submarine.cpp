#include "sprites/catalogue.h"

namespace gm {

namespace {

const char* const submarine_right_0 = R"art(



                     |>
             ________|________
            |   o   |   o   |
 _   _______|_______|_______|________
 \`-.-'   o    o    o    o    o     `--.
 /.-'-.                               _.'
      `--.__________________________.--'
)art";

const char* const submarine_right_1 = R"art(


                     |>
                     |
             ________|________
            |   o   |   o   |
 _   _______|_______|_______|________
 \`-.-'   o    o    o    o    o     `--.
 /.-'-.                               _.'
      `--.__________________________.--'
)art";

const char* const submarine_right_2 = R"art(

                     |>
                     |
                     |
             ________|________
            |   o   |   o   |
 _   _______|_______|_______|________
 \`-.-'   o    o    o    o    o     `--.
 /.-'-.                               _.'
      `--.__________________________.--'
)art";

const char* const submarine_right_3 = R"art(
                     |>
                     |
                     |
                     |
             ________|________
            |   o   |   o   |
 _   _______|_______|_______|________
 \`-.-'   o    o    o    o    o     `--.
 /.-'-.                               _.'
      `--.__________________________.--'
)art";

const char* const submarine_right_4 = R"art(
                    <|
                     |
                     |
                     |
             ________|________
            |   o   |   o   |
 _   _______|_______|_______|________
 \`-.-'   o    o    o    o    o     `--.
 /.-'-.                               _.'
      `--.__________________________.--'
)art";

const char* const submarine_right_mask = R"art(



                     w
                     w

 w
 wwwww    w    w    w    w    w
 wwwww
      wwww                          wwww
)art";

const char* const submarine_left_0 = R"art(



                  <|
           ________|________
            |   o   |   o   |
    ________|_______|_______|_______   _
 .--'     o    o    o    o    o   `-.-'/
`._                               .-`-.\
 `--.__________________________.--'
)art";

const char* const submarine_left_1 = R"art(


                  <|
                   |
           ________|________
            |   o   |   o   |
    ________|_______|_______|_______   _
 .--'     o    o    o    o    o   `-.-'/
`._                               .-`-.\
 `--.__________________________.--'
)art";

const char* const submarine_left_2 = R"art(

                  <|
                   |
                   |
           ________|________
            |   o   |   o   |
    ________|_______|_______|_______   _
 .--'     o    o    o    o    o   `-.-'/
`._                               .-`-.\
 `--.__________________________.--'
)art";

const char* const submarine_left_3 = R"art(
                  <|
                   |
                   |
                   |
           ________|________
            |   o   |   o   |
    ________|_______|_______|_______   _
 .--'     o    o    o    o    o   `-.-'/
`._                               .-`-.\
 `--.__________________________.--'
)art";

const char* const submarine_left_4 = R"art(
                   |>
                   |
                   |
                   |
           ________|________
            |   o   |   o   |
    ________|_______|_______|_______   _
 .--'     o    o    o    o    o   `-.-'/
`._                               .-`-.\
 `--.__________________________.--'
)art";

const char* const submarine_left_mask = R"art(



                   w
                   w

                                       w
          w    w    w    w    w    wwwww
                                   wwwww
 wwww                          wwww
)art";

} // namespace

CatalogueEntry submarine_entry()
{
    // The periscope rises, looks about and sinks again.
    return {"submarine",
            {},
            {
                {{submarine_right_0, submarine_right_mask}, {submarine_right_1, submarine_right_mask}, {submarine_right_2, submarine_right_mask}, {submarine_right_3, submarine_right_mask}, {submarine_right_4, submarine_right_mask}, {submarine_right_3, submarine_right_mask}, {submarine_right_2, submarine_right_mask}, {submarine_right_1, submarine_right_mask}, {submarine_right_0, submarine_right_mask}},
                {{submarine_left_0, submarine_left_mask}, {submarine_left_1, submarine_left_mask}, {submarine_left_2, submarine_left_mask}, {submarine_left_3, submarine_left_mask}, {submarine_left_4, submarine_left_mask}, {submarine_left_3, submarine_left_mask}, {submarine_left_2, submarine_left_mask}, {submarine_left_1, submarine_left_mask}, {submarine_left_0, submarine_left_mask}},
            },
            {}};
}

} // namespace gm
