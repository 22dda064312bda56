#include <gtest/gtest.h>

#include "host/x11/x11_options.h"

namespace gm {

namespace {

X11ParseResult parse(std::vector<std::string> args) { return parse_x11_options(args); }

} // namespace

TEST(X11Options, TakesTheDaemonsOneDashFormsAndTheValueAfterAnEqualsSign)
{
    const X11ParseResult daemon = parse({"-root", "--fps", "5"});
    ASSERT_TRUE(daemon.error.empty()) << daemon.error;
    EXPECT_TRUE(daemon.options.root);
    EXPECT_EQ(parse({"-window-id", "0x1e00007"}).options.window_id, 0x1e00007u);

    const X11ParseResult user = parse({"--window-id=31457287", "--fps=25", "--seed", "0", "--font-size", "12"});
    ASSERT_TRUE(user.error.empty()) << user.error;
    EXPECT_EQ(user.options.window_id, 31457287u);
    EXPECT_EQ(user.options.fps, 25);
    EXPECT_EQ(user.options.seed, 0u);
    EXPECT_EQ(user.options.font_size, 12);
    EXPECT_EQ(parse({}).options.fps, 10);
    EXPECT_FALSE(parse({}).options.root);

    // The settings dialog's preview appends its window to the daemon's command.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--root", "--window-id", "7"}, {"-root", "-window-id", "7"}, {"--window-id=7", "-root"},
             {"-window-id", "7", "--root"}}) {
        const X11ParseResult both = parse(args);
        EXPECT_TRUE(both.error.empty()) << args[0] << ": " << both.error;
        EXPECT_EQ(both.options.window_id, 7u) << args[0];
        EXPECT_FALSE(both.options.root) << args[0] << ": the window given wins";
    }
}

TEST(X11Options, RefusesWhatNamesNoWindowOrNoUsableValue)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--window-id", "0"},    {"--window-id", "0x"},         {"--window-id", "0x20000000"},
             {"--window-id", "-5"},   {"--window-id", "0x1e00007 "}, {"--window-id"},
             {"--fps", "61"},         {"--seed", "-1"},              {"--font-size", "3"},
             {"--font-size", "513"},  {"--root=1"},                  {"-fps", "10"},
             {"--display", ":0"},     {"--seed", "--root"},          {"--fps", "5", "--fps", "6"}}) {
        const X11ParseResult result = parse(args);
        EXPECT_FALSE(result.error.empty()) << args[0];
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << "one line: " << result.error;
    }
    EXPECT_EQ(parse({"-window-id", "0"}).error.rfind("-window-id wants", 0), 0u) << "named as written";
    EXPECT_EQ(parse_window_id("0X1FFFFFFF"), 0x1FFFFFFFu);
    EXPECT_EQ(parse_window_id("0x1e00007"), parse_window_id("31457287"));
}

} // namespace gm
