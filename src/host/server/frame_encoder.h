#pragma once
#include <string>

#include "host/common/colour_rule.h"
#include "render/paint_plan.h"

namespace gm {

// A frame for a terminal that shows `rows` rows of the picture: each span's
// cells written once, between synchronized-output markers so the terminal
// shows it whole, and the cursor left at the start of the picture's last
// row, so that a viewer's shell comes up below the picture when it ends.
// Never a NUL nor any byte a terminal or telnet would take as a command: a
// cell outside printable ASCII is sent as a space.
void append_frame(std::string& out, const PaintPlan& plan, std::int32_t rows, ColourDepth depth);

} // namespace gm
