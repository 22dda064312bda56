#include "host/windows/command_line.h"

#include <limits>

namespace gm {

namespace {

constexpr std::string_view exit_event_option = "--exitEvent ";
constexpr std::string_view owner_option = "--owner ";
constexpr std::string_view preview_option = "--preview";
constexpr std::string_view seed_option = "--seed ";

bool is_c_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char lower_ascii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The conventional screensaver arguments only count at the very start of the
// line, so that an option value such as an event name can never trigger them.
// Returns the letter ('s', 'p' or 'c') or 0.
char standard_argument(std::string_view line, std::string_view& rest)
{
    if (line.size() < 2 || (line[0] != '/' && line[0] != '-')) return 0;
    const char letter = lower_ascii(line[1]);
    if (letter != 's' && letter != 'p' && letter != 'c') return 0;
    if (line.size() > 2 && !is_c_space(line[2]) && line[2] != ':') return 0;
    rest = line.substr(2);
    return letter;
}

// "/p 1234", "/p:1234" and "/c:1234" carry a window handle after the letter.
std::uint64_t handle_after_letter(std::string_view rest)
{
    if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return parse_unsigned_decimal(rest.substr(0, rest.find(' ')));
}

} // namespace

std::string_view option_value(std::string_view line, std::string_view option, bool& found)
{
    const std::size_t at = line.find(option);
    found = at != std::string_view::npos;
    if (!found) return {};
    const std::string_view after = line.substr(at + option.size());
    return after.substr(0, after.find(' '));
}

std::uint64_t parse_unsigned_decimal(std::string_view text, bool* digits_read)
{
    std::size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    bool any = false;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        any = true;
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (value > (largest - digit) / 10) overflow = true;
        else value = value * 10 + digit;
    }
    if (digits_read) *digits_read = any;
    if (!any) return 0;
    if (overflow) return largest;
    return negative ? (~value + 1) : value;
}

HostCommand parse_command_line(std::string_view line)
{
    HostCommand command;

    const std::string_view event_name = option_value(line, exit_event_option, command.exit_event_given);
    if (command.exit_event_given) command.exit_event_name.assign(event_name);

    bool seed_found = false;
    const std::string_view seed_text = option_value(line, seed_option, seed_found);
    bool seed_digits = false;
    const std::uint64_t seed = parse_unsigned_decimal(seed_text, &seed_digits);
    if (seed_found && seed_digits) command.seed = static_cast<std::uint32_t>(seed);

    std::string_view rest;
    switch (standard_argument(line, rest)) {
    case 's':
        return command;
    case 'p':
        command.owner = handle_after_letter(rest);
        command.preview_requested = true;
        command.preview_only = true;
        return command;
    case 'c':
        command.action = HostAction::settings;
        command.owner = handle_after_letter(rest);
        return command;
    default:
        break;
    }

    bool owner_found = false;
    const std::string_view owner_text = option_value(line, owner_option, owner_found);
    if (owner_found) command.owner = parse_unsigned_decimal(owner_text);

    command.preview_requested = line.size() >= preview_option.size() && line.find(preview_option) != std::string_view::npos;
    return command;
}

} // namespace gm
