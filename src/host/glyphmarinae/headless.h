#pragma once
#include <string>

#include "engine/scene.h"
#include "host/glyphmarinae/options.h"

namespace gm {

// The scene of the options' size and seed after their number of ticks.
void run_headless(Scene& scene, const Options& options, std::uint32_t seed);

std::string dump_text(const Scene& scene, bool colour);
std::string entities_json(const Scene& scene);
std::string gallery_text(bool colour);

} // namespace gm
