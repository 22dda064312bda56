#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gm {

enum class HostAction {
    run,      // open the aquarium, full screen or in preview
    settings, // "/c": say there is nothing to configure, then exit 0
};

// What the Windows host learns from its command line. Kept free of any
// window-system type so that it can be tested and fuzzed on any platform.
struct HostCommand {
    HostAction action = HostAction::run;
    bool exit_event_given = false;
    std::string exit_event_name; // UTF-8 bytes, possibly empty
    std::uint64_t owner = 0;     // window handle number, 0 for none
    bool preview_requested = false; // effective only with a live owner
    bool preview_only = false;      // "/p": a preview or nothing, never full screen
    std::optional<std::uint32_t> seed; // none: the calendar time
};

// The text after the value-carrying option, up to the first blank or the end.
std::string_view option_value(std::string_view line, std::string_view option, bool& found);

// Reads a decimal number the way the C runtime's _strtoui64(text, base 10)
// does: leading white space, an optional sign, digits up to the first
// non-digit; 0 without digits, the largest value on overflow, negated when
// the sign is '-'. digits_read tells whether any digit was read.
std::uint64_t parse_unsigned_decimal(std::string_view text, bool* digits_read = nullptr);

// Any byte string is accepted; nothing in it can make this fail.
HostCommand parse_command_line(std::string_view line);

} // namespace gm
