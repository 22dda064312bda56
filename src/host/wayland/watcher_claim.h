#pragma once
#include <string>

namespace gm {

// One idle watcher per Wayland session, since an autostart entry and a
// compositor's exec line could both start one: the descriptor that holds
// the session's claim until it is closed, or -1 with why in `refusal`.
int claim_idle_watcher(std::string& refusal);

} // namespace gm
