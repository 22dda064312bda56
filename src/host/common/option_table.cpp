#include "host/common/option_table.h"

namespace gm::option_reading {

Word split(std::string_view arg)
{
    // Only the long forms carry "=value": "-window-id=5" is one unknown word.
    const std::size_t equals = arg.find('=');
    if (!arg.starts_with("--") || equals == std::string_view::npos) return {arg, {}, false};
    return {arg.substr(0, equals), arg.substr(equals + 1), true};
}

std::string take_value(const std::vector<std::string>& args, std::size_t& i, Word& word, bool takes_value)
{
    if (!takes_value) return word.has_value ? std::string(word.name) + " takes no value" : std::string();
    if (word.has_value) return {};
    // A value is never taken from the next option: "--fps --dump" lacks one.
    if (i + 1 >= args.size() || std::string_view(args[i + 1]).starts_with("--"))
        return std::string(word.name) + " needs a value";
    word.value = args[++i];
    return {};
}

std::string unknown(std::string_view arg)
{
    if (!arg.starts_with('-')) return "unexpected argument '" + std::string(arg) + "' (see --help)";
    return "unknown option '" + std::string(arg) + "' (see --help)";
}

std::string as_written(std::string complaint, std::string_view name, std::string_view spelling)
{
    if (spelling != name && complaint.starts_with(name)) complaint.replace(0, name.size(), spelling);
    return complaint;
}

std::string no_effect(std::string_view spelling, std::string_view mode_name)
{
    return std::string(spelling) + " has no effect with " + std::string(mode_name);
}

} // namespace gm::option_reading
