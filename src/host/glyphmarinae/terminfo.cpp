#include "host/glyphmarinae/terminfo.h"

#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <term.h>

namespace gm {

std::string terminal_refusal(int fd)
{
    const char* type = std::getenv("TERM");
    if (!type || !*type) return "TERM is not set, so the terminal's type is unknown; set TERM or use --dump";
    int error = 0;
    if (setupterm(type, fd, &error) != OK)
        return std::string("the terminal type '") + type + "' is not known here; set TERM or use --dump";
    const bool can_place_cursor = has_capability("cup");
    del_curterm(cur_term);
    if (!can_place_cursor)
        return std::string("the terminal type '") + type + "' cannot place the cursor; use --dump to print a scene instead";
    return {};
}

bool has_capability(const char* name)
{
    const char* text = tigetstr(name);
    return text != nullptr && text != reinterpret_cast<char*>(-1);
}

std::string capability_text(const char* name)
{
    if (!has_capability(name)) return {};
    std::string out;
    for (const char* at = tigetstr(name); *at; ++at) {
        const char* end = at[0] == '$' && at[1] == '<' ? std::strchr(at, '>') : nullptr;
        if (end) at = end;
        else out += *at;
    }
    return out;
}

bool terminal_type_known(const char* type, int fd)
{
    int error = 0;
    if (setupterm(type, fd, &error) != OK) return false;
    del_curterm(cur_term);
    return true;
}

} // namespace gm
