#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "host/windows/command_line.h"

namespace gm {
namespace {

constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();

TEST(WindowsCommandLine, EmptyLineRunsFullScreenWithNothingSet)
{
    const HostCommand command = parse_command_line("");
    EXPECT_EQ(command.action, HostAction::run);
    EXPECT_FALSE(command.exit_event_given);
    EXPECT_EQ(command.owner, 0u);
    EXPECT_FALSE(command.preview_requested);
    EXPECT_FALSE(command.seed.has_value());
}

TEST(WindowsCommandLine, ExitEventValueEndsAtTheFirstBlank)
{
    const HostCommand command = parse_command_line("--owner 5 --exitEvent Local\\glyph-7 --preview");
    EXPECT_TRUE(command.exit_event_given);
    EXPECT_EQ(command.exit_event_name, "Local\\glyph-7");

    EXPECT_EQ(parse_command_line("--exitEvent end").exit_event_name, "end");
    // UTF-8 is passed through untouched; the host converts it.
    EXPECT_EQ(parse_command_line("--exitEvent \xC3\xA9v\xC3\xA9nement x").exit_event_name,
              "\xC3\xA9v\xC3\xA9nement");
}

TEST(WindowsCommandLine, ExitEventNeedsItsBlankAndMayBeEmpty)
{
    const HostCommand doubled = parse_command_line("--exitEvent  name");
    EXPECT_TRUE(doubled.exit_event_given);
    EXPECT_EQ(doubled.exit_event_name, "");

    const HostCommand at_end = parse_command_line("--exitEvent ");
    EXPECT_TRUE(at_end.exit_event_given);
    EXPECT_EQ(at_end.exit_event_name, "");

    EXPECT_FALSE(parse_command_line("--exitEventname").exit_event_given);
    EXPECT_FALSE(parse_command_line("--exitevent name").exit_event_given);
}

TEST(WindowsCommandLine, FirstOccurrenceOfEachOptionCounts)
{
    const HostCommand command = parse_command_line("--owner 11 --exitEvent a --owner 22 --exitEvent b");
    EXPECT_EQ(command.owner, 11u);
    EXPECT_EQ(command.exit_event_name, "a");
}

TEST(WindowsCommandLine, OwnerIsReadLikeTheRuntimeDecimalConversion)
{
    EXPECT_EQ(parse_command_line("--owner 1234 --preview").owner, 1234u);
    EXPECT_EQ(parse_command_line("--owner 0x10").owner, 0u);
    EXPECT_EQ(parse_command_line("--owner 12ab").owner, 12u);
    EXPECT_EQ(parse_command_line("--owner  77").owner, 0u); // the value is empty
    EXPECT_EQ(parse_command_line("--owner \t77").owner, 77u);
    EXPECT_EQ(parse_command_line("--owner 18446744073709551615").owner, largest);
    EXPECT_EQ(parse_command_line("--owner 18446744073709551616").owner, largest);
    EXPECT_EQ(parse_command_line("--owner77").owner, 0u);
    EXPECT_EQ(parse_command_line("--Owner 77").owner, 0u);
}

TEST(WindowsCommandLine, DecimalConversionMatchesTheRuntimeOnSignsAndSpace)
{
    bool digits = true;
    EXPECT_EQ(parse_unsigned_decimal("", &digits), 0u);
    EXPECT_FALSE(digits);
    EXPECT_EQ(parse_unsigned_decimal(" \t\r\n\v\f42x", &digits), 42u);
    EXPECT_TRUE(digits);
    EXPECT_EQ(parse_unsigned_decimal("+9"), 9u);
    EXPECT_EQ(parse_unsigned_decimal("-1"), largest);
    EXPECT_EQ(parse_unsigned_decimal("-", &digits), 0u);
    EXPECT_FALSE(digits);
    EXPECT_EQ(parse_unsigned_decimal("99999999999999999999999"), largest);
    EXPECT_EQ(parse_unsigned_decimal("007"), 7u);
}

TEST(WindowsCommandLine, PreviewIsAPlainSubstring)
{
    EXPECT_TRUE(parse_command_line("--preview").preview_requested);
    EXPECT_TRUE(parse_command_line("--previewer").preview_requested);
    EXPECT_TRUE(parse_command_line("x--preview").preview_requested);
    EXPECT_FALSE(parse_command_line("--previe").preview_requested);
    EXPECT_FALSE(parse_command_line("--Preview").preview_requested);
    // The owner decides later whether preview happens; the request stands alone.
    EXPECT_EQ(parse_command_line("--preview").owner, 0u);
    // Only "/p" gives up without a live owner; "--preview" falls back to full screen.
    EXPECT_FALSE(parse_command_line("--owner 5 --preview").preview_only);
}

TEST(WindowsCommandLine, SeedNeedsDigits)
{
    EXPECT_EQ(parse_command_line("--seed 42").seed, std::optional<std::uint32_t>(42));
    EXPECT_EQ(parse_command_line("--owner 3 --seed 0 --preview").seed, std::optional<std::uint32_t>(0));
    EXPECT_EQ(parse_command_line("--seed 4294967297").seed, std::optional<std::uint32_t>(1));
    EXPECT_FALSE(parse_command_line("--seed x").seed.has_value());
    EXPECT_FALSE(parse_command_line("--seed  5").seed.has_value());
    EXPECT_FALSE(parse_command_line("--seed5").seed.has_value());
}

TEST(WindowsCommandLine, StandardFullScreenArgument)
{
    for (const char* line : {"/s", "/S", "-s", "-S", "/s --owner 9 --preview"}) {
        const HostCommand command = parse_command_line(line);
        EXPECT_EQ(command.action, HostAction::run) << line;
        EXPECT_EQ(command.owner, 0u) << line;
        EXPECT_FALSE(command.preview_requested) << line;
    }
    const HostCommand with_extras = parse_command_line("/S --exitEvent ev --seed 3");
    EXPECT_EQ(with_extras.exit_event_name, "ev");
    EXPECT_EQ(with_extras.seed, std::optional<std::uint32_t>(3));
}

TEST(WindowsCommandLine, StandardPreviewArgumentCarriesTheOwner)
{
    for (const char* line : {"/p 4660", "/P 4660", "-p 4660", "/p:4660", "-P:4660", "/p   4660", "/p 4660 extra"}) {
        const HostCommand command = parse_command_line(line);
        EXPECT_EQ(command.action, HostAction::run) << line;
        EXPECT_EQ(command.owner, 4660u) << line;
        EXPECT_TRUE(command.preview_requested) << line;
        EXPECT_TRUE(command.preview_only) << line;
    }
    EXPECT_TRUE(parse_command_line("/p").preview_only);
    EXPECT_EQ(parse_command_line("/p").owner, 0u);
    EXPECT_EQ(parse_command_line("/p --owner 5").owner, 0u);
}

TEST(WindowsCommandLine, StandardSettingsArgument)
{
    for (const char* line : {"/c", "/C", "-c", "/c:5678", "-C 5678"}) {
        const HostCommand command = parse_command_line(line);
        EXPECT_EQ(command.action, HostAction::settings) << line;
        EXPECT_FALSE(command.preview_requested) << line;
    }
    EXPECT_EQ(parse_command_line("/c:5678").owner, 5678u);
}

TEST(WindowsCommandLine, StandardArgumentsCountOnlyAtTheStart)
{
    EXPECT_EQ(parse_command_line(" /c").action, HostAction::run);
    EXPECT_EQ(parse_command_line("--exitEvent /c").action, HostAction::run);
    EXPECT_EQ(parse_command_line("/cx").action, HostAction::run);
    EXPECT_FALSE(parse_command_line("x /p 5").preview_requested);
    // Not a standard argument, so the ordinary options apply.
    const HostCommand other = parse_command_line("/sx --owner 8 --preview");
    EXPECT_EQ(other.owner, 8u);
    EXPECT_TRUE(other.preview_requested);
}

// Arbitrary bytes, embedded zeros included, must never upset the parser, and
// whatever it reports must be explained by the line itself.
TEST(WindowsCommandLine, ArbitraryBytesAreHandled)
{
    std::uint32_t state = 12345;
    const std::string pieces[] = {"--exitEvent ", "--owner ", "--preview", "--seed ", "/p", "-c", " ", ":", "12", std::string(1, '\0')};
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int parts = static_cast<int>(state % 9);
        for (int i = 0; i < parts; ++i) {
            state = state * 1103515245u + 12345u;
            if (state & 0x100) line += pieces[(state >> 10) % std::size(pieces)];
            else line += static_cast<char>(state >> 16);
        }
        const HostCommand command = parse_command_line(line);
        EXPECT_EQ(command.exit_event_name.find(' '), std::string::npos);
        if (command.exit_event_given) {
            EXPECT_NE(line.find("--exitEvent "), std::string::npos);
        } else {
            EXPECT_TRUE(command.exit_event_name.empty());
        }
        if (command.action == HostAction::settings) {
            EXPECT_TRUE(line[0] == '/' || line[0] == '-');
        }
        if (command.seed) {
            EXPECT_NE(line.find("--seed "), std::string::npos);
        }
    }
}

} // namespace
} // namespace gm
