#pragma once
#include <string>

namespace gm {

// Every character with ink that the aquarium can put in a cell, each once and
// in byte order, so that the page can size its cells to the tallest of them.
std::string art_characters();

} // namespace gm
