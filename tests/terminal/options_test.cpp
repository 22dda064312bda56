#include <gtest/gtest.h>

#include "host/glyphmarinae/headless.h"
#include "host/glyphmarinae/options.h"
#include "record/progress_bar.h"
#include "population/population.h"

namespace gm {

namespace {

ParseResult parse(std::initializer_list<const char*> args)
{
    return parse_options(std::vector<std::string>(args.begin(), args.end()));
}

} // namespace

TEST(Options, DefaultsRunTheAquariumAtTheDesignRate)
{
    const ParseResult result = parse({});
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(result.options.mode, Mode::aquarium);
    EXPECT_EQ(result.options.fps, 10);
    EXPECT_FALSE(result.options.seed.has_value());
    EXPECT_EQ(result.options.columns, 80);
    EXPECT_EQ(result.options.rows, 24);
}

TEST(Options, ReadsEveryOption)
{
    const ParseResult result =
        parse({"--dump", "--size", "100x30", "--ticks", "25", "--seed", "4294967295", "--colour"});
    ASSERT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.options.mode, Mode::dump);
    EXPECT_EQ(result.options.columns, 100);
    EXPECT_EQ(result.options.rows, 30);
    EXPECT_EQ(result.options.ticks, 25);
    EXPECT_EQ(result.options.seed, 4294967295u);
    EXPECT_TRUE(result.options.colour);

    const ParseResult terminal = parse({"--fps", "60", "--terminal-background"});
    EXPECT_EQ(terminal.options.fps, 60);
    EXPECT_TRUE(terminal.options.terminal_background);
    EXPECT_TRUE(parse({"--ambient", "--seed", "3"}).options.ambient);
    EXPECT_EQ(parse({"--dump", "--size", "1x1"}).options.columns, 1);
    EXPECT_EQ(parse({"--dump", "--size", "80X25"}).options.rows, 25);
    EXPECT_EQ(parse({"--entities", "--size", "1000x1000"}).options.rows, 1000);
    const ParseResult joined = parse({"--seed=5", "--size=81x30", "--ticks=0", "--dump"});
    ASSERT_TRUE(joined.error.empty()) << joined.error;
    EXPECT_EQ(joined.options.seed, 5u);
    EXPECT_EQ(joined.options.columns, 81);
    EXPECT_EQ(parse({"--fps=7"}).options.fps, 7);
    EXPECT_TRUE(parse({"--gallery", "--colour"}).error.empty());
    EXPECT_EQ(parse({"--gallery"}).options.mode, Mode::gallery);
    EXPECT_EQ(parse({"--bogus", "--help"}).options.mode, Mode::aquarium) << "the first error stops the parse";
    EXPECT_EQ(parse({"--help", "--bogus"}).options.mode, Mode::help);

    const ParseResult record = parse({"--record=out/Aquarium.Cast", "--timestamp", "0", "--fps", "60", "--size=9x9"});
    ASSERT_TRUE(record.error.empty()) << record.error;
    EXPECT_EQ(record.options.mode, Mode::record);
    EXPECT_EQ(record.options.record_file, "out/Aquarium.Cast");
    EXPECT_EQ(record.options.timestamp, 0);
    EXPECT_TRUE(parse({"--seed", "1", "--record", "a.GIF", "--fps", "50"}).error.empty());
    EXPECT_FALSE(record.options.ticks_given) << "--record counts its own default ticks";
    EXPECT_TRUE(parse({"--record", "a.cast", "--ticks", "0"}).options.ticks_given);
}

TEST(Options, RejectsMalformedValuesWithAClearMessage)
{
    for (auto args : std::initializer_list<std::vector<std::string>>{
             {"--size", "80"},       {"--size", "0x24"},    {"--size", "99999x99999"}, {"--size", "80x"},
             {"--size", "-5x10"},    {"--size", "80x24x3"}, {"--size"},                {"--ticks", "-1"},
             {"--ticks", "ten"},     {"--seed", "4294967296"}, {"--seed", "12a"},      {"--seed", ""},
             {"--fps", "0"},         {"--fps", "61"},       {"--frobnicate"},          {"--dump", "--gallery"},
             {"dump"},               {"--seed="},           {"--dump=yes"},            {"--colour=1"},
             // options that would change nothing in the chosen mode
             {"--dump", "--fps", "5"}, {"--ticks", "3"},    {"--colour"},              {"--size", "80x24"},
             {"--entities", "--colour"}, {"--gallery", "--seed", "1"}, {"--dump", "--terminal-background"}, {"--dump", "--terminal-colours"},
             {"--record", "a.txt"}, {"--record", "dir/.gif"}, {"--record", "a.png.x"}, {"--record"},
             {"--record", "a.gif", "--dump"}, {"--gallery", "--record", "a.gif"}, {"--record", "a.cast", "--colour"},
             {"--record", "a.gif", "--timestamp", "1"}, {"--record", "a.gif", "--fps", "51"},
             {"--record", "a.cast", "--timestamp", "-1"}, {"--gallery", "--ambient"},
             {"--record", "a.gif", "--ambient"}, {"--record", "a.png", "--fps", "10"},
             // given twice
             {"--record", "a.cast", "--record", "b.cast"}, {"--dump", "--dump"}, {"--seed", "1", "--seed", "2"},
             {"--colour", "--gallery", "--color"}}) {
        const ParseResult result = parse_options(args);
        EXPECT_FALSE(result.error.empty()) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
    EXPECT_NE(parse({"--dump", "--size", "0x24"}).error.find("--size"), std::string::npos);
    EXPECT_EQ(parse({"--fps", "--dump"}).error, "--fps needs a value");
    EXPECT_EQ(parse({"--fps", "5", "--dump"}).error, "--fps has no effect with --dump");
    EXPECT_EQ(parse({"--color"}).error, "--color has no effect with the terminal aquarium");
    EXPECT_EQ(parse({"--record", "a.png", "--fps", "10"}).error, "--fps has no effect with a .png");
    EXPECT_EQ(parse({"--seed", "1", "--seed", "2"}).error, "--seed is given twice");
    EXPECT_EQ(parse({"--dump", "foo"}).error, "unexpected argument 'foo' (see --help)");
    EXPECT_EQ(parse({"--dump", "-x"}).error, "unknown option '-x' (see --help)");
}

TEST(Options, HelpNamesEveryOption)
{
    const std::string usage = usage_text();
    for (const char* option : {"--dump", "--entities", "--gallery", "--seed", "--size", "--ticks", "--colour",
                               "--fps", "--terminal-background", "--terminal-colours", "--ambient", "--version", "--help", "--record", "--timestamp"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(Progress, TheLineFitsTheTerminalAndCountsDown)
{
    EXPECT_EQ(progress_line(100, 400, 61.2, 80), "[##########..............................] 100/400 frames 25% 1 min 02 s left");
    EXPECT_EQ(progress_line(500, 400, -1.0, 80).find("[#"), 0u) << "done and time left are clamped";
    EXPECT_NE(progress_line(500, 400, -1.0, 80).find("400/400 frames 100% 0 s left"), std::string::npos);
    for (int width : {0, 1, 12, 30, 45, 300})
        EXPECT_LT(progress_line(7, 300, 3, width).size(), static_cast<std::size_t>(std::max(width, 1))) << width;
}

TEST(Headless, EntitiesAreListedWithFloatsThatReadBackExactly)
{
    Options options;
    options.ticks = 3;
    Scene scene;
    run_headless(scene, options, 99);
    const std::string json = entities_json(scene);
    std::size_t lines = 0;
    for (char c : json) lines += c == '\n' ? 1 : 0;
    EXPECT_EQ(lines, scene.entities.size());
    EXPECT_EQ(json.rfind("{\"name\":\"water\",\"x\":0,\"y\":5,\"vx\":0,\"vy\":0,\"depth\":8,", 0), 0u);
    for (const char* key : {"\"frame_count\":", "\"width\":", "\"lifetime\":", "\"group_id\":",
                            "\"die_offscreen\":", "\"pauses_mid_screen\":false"})
        EXPECT_NE(json.find(key), std::string::npos) << key;

    // A fish's fractional speed survives the round trip.
    for (const Entity& e : scene.entities) {
        if (!e.is("fish")) continue;
        const std::string marker = "\"vx\":";
        const std::size_t at = json.find(marker, json.find("\"name\":\"fish\""));
        EXPECT_EQ(std::stof(json.substr(at + marker.size())), e.vx);
        break;
    }
}

TEST(Headless, TheSameSeedPrintsTheSameGridAndAnotherSeedAnother)
{
    Options options;
    options.ticks = 40;
    Scene a, b, c;
    run_headless(a, options, 5);
    run_headless(b, options, 5);
    run_headless(c, options, 6);
    EXPECT_EQ(dump_text(a, false), dump_text(b, false));
    EXPECT_NE(dump_text(a, false), dump_text(c, false));
    EXPECT_EQ(dump_text(a, false).size(), 81u * 24u);
}

} // namespace gm
