#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace gm {

// The file of the built web page that a request's decoded path names, as a
// path resolved of every link, or none when the path names nothing under
// `root` (itself resolved): no "..", no "." and no empty part, and nothing a
// symbolic link leads to outside it. "/" names index.html.
std::optional<std::string> web_file(const std::string& root, std::string_view path);

// The Content-Type of a file the page is built of, by its name's ending.
std::string_view web_type(std::string_view file);

} // namespace gm
