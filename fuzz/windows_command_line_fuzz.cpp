// The Windows host's command-line reader on any bytes. Option values are cut
// at the first blank, and numbers are read exactly as the C library's strtoull
// reads them in base 10, which is the reference here.
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "host/windows/command_line.h"

namespace {

void check_number(std::string_view text)
{
    bool digits = false;
    const std::uint64_t value = gm::parse_unsigned_decimal(text, &digits);
    // strtoull stops at a zero byte, as a C string ends there.
    const std::string c_text(text.substr(0, text.find('\0')));
    const std::string_view before_zero(text.data(), c_text.size());
    bool digits_before_zero = false;
    const std::uint64_t value_before_zero = gm::parse_unsigned_decimal(before_zero, &digits_before_zero);
    char* end = nullptr;
    errno = 0;
    const unsigned long long expected = std::strtoull(c_text.c_str(), &end, 10);
    const bool expected_digits = end != c_text.c_str();
    FUZZ_REQUIRE(digits_before_zero == expected_digits);
    FUZZ_REQUIRE(value_before_zero == expected);
    if (c_text.size() == text.size()) FUZZ_REQUIRE(value == value_before_zero && digits == digits_before_zero);
}

void check_option(std::string_view line, std::string_view option)
{
    bool found = false;
    const std::string_view value = gm::option_value(line, option, found);
    FUZZ_REQUIRE(found == (line.find(option) != std::string_view::npos));
    if (!found) {
        FUZZ_REQUIRE(value.empty());
        return;
    }
    FUZZ_REQUIRE(value.find(' ') == std::string_view::npos);
    // The value is the text right after the option's first occurrence.
    const std::size_t at = line.find(option) + option.size();
    FUZZ_REQUIRE(line.substr(at, value.size()) == value);
    FUZZ_REQUIRE(at + value.size() == line.size() || line[at + value.size()] == ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const gm::HostCommand command = gm::parse_command_line(line);
    const gm::HostCommand again = gm::parse_command_line(line);
    FUZZ_REQUIRE(command.action == again.action && command.owner == again.owner &&
                 command.exit_event_name == again.exit_event_name && command.seed == again.seed &&
                 command.preview_requested == again.preview_requested);

    FUZZ_REQUIRE(command.exit_event_given == (line.find("--exitEvent ") != std::string_view::npos));
    FUZZ_REQUIRE(command.exit_event_name.find(' ') == std::string::npos);
    if (command.exit_event_given)
        FUZZ_REQUIRE(line.find("--exitEvent " + command.exit_event_name) != std::string_view::npos);
    else
        FUZZ_REQUIRE(command.exit_event_name.empty());
    if (command.action == gm::HostAction::settings) FUZZ_REQUIRE(!command.preview_requested);

    for (std::string_view option : {"--exitEvent ", "--owner ", "--seed ", "--preview"}) check_option(line, option);
    check_number(line);
    bool found = false;
    check_number(gm::option_value(line, "--owner ", found));
    return 0;
}
