#pragma once
#include <string>

#include "session.h"

namespace wine_test {

// Runs the named scenario; false when the name is unknown.
bool run_scenario(const std::string& name, const Paths& paths, Verdict& verdict);

} // namespace wine_test
