#include "host/server/web_root.h"

#include <climits>
#include <cstdlib>

namespace gm {

std::optional<std::string> web_file(const std::string& root, std::string_view path)
{
    if (path == "/") path = "/index.html";
    if (!path.starts_with("/") || path.find('\0') != std::string_view::npos ||
        path.find('\\') != std::string_view::npos)
        return std::nullopt;
    for (std::string_view rest = path.substr(1); ;) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part.empty() || part == "." || part == "..") return std::nullopt;
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    char resolved[PATH_MAX];
    const std::string joined = root + std::string(path);
    if (realpath(joined.c_str(), resolved) == nullptr) return std::nullopt;
    const std::string file = resolved;
    if (!file.starts_with(root + "/")) return std::nullopt;
    return file;
}

std::string_view web_type(std::string_view file)
{
    if (file.ends_with(".html")) return "text/html; charset=utf-8";
    if (file.ends_with(".js") || file.ends_with(".mjs")) return "text/javascript; charset=utf-8";
    if (file.ends_with(".wasm")) return "application/wasm";
    if (file.ends_with(".css")) return "text/css; charset=utf-8";
    if (file.ends_with(".png")) return "image/png";
    if (file.ends_with(".json")) return "application/json";
    return "application/octet-stream";
}

} // namespace gm
