#pragma once
#include <string>

namespace gm {

// What the terminal database says about the terminal in use.

// Why the terminal on `fd` cannot show the aquarium (an unset or unknown
// TERM, a type that cannot place the cursor), or empty when it can. Asks the
// database only, so nothing has been drawn when it refuses.
std::string terminal_refusal(int fd);

// Whether the current terminal has the string capability `name`.
bool has_capability(const char* name);

// The capability as bytes to write as they stand, without the delays meant
// for serial lines; empty when the terminal lacks it.
std::string capability_text(const char* name);

// Whether the terminal database holds an entry for `type`.
bool terminal_type_known(const char* type, int fd);

} // namespace gm
