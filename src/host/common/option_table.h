#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gm {

// Every program reads its command line the same way, from a table of rules,
// so that a user who knows one program's options knows how all of them read.
// The program's Options record has a `mode` whose enumeration holds `help`
// and `version`: a rule that sets either ends the reading there.

using ModeSet = unsigned;
inline constexpr ModeSet every_mode = ~0u;

template <typename Mode>
constexpr ModeSet modes(std::initializer_list<Mode> list)
{
    ModeSet set = 0;
    for (Mode mode : list) set |= 1u << static_cast<unsigned>(mode);
    return set;
}

template <typename Options>
struct OptionRule {
    std::string_view name;  // "--fps"
    std::string_view alias; // another spelling, such as "-root" or "--color"; "" for none
    bool takes_value;
    ModeSet used_by; // the modes in which the option changes anything
    // The one-line complaint, or "" when the value was taken.
    std::string (*apply)(Options&, std::string_view value);
    // Each time adds a value to a list (--output A --output B), so that a
    // second time undoes nothing.
    bool repeatable = false;
};

// The apply of an option that only switches something on: switch_on<&Options::ambient>.
template <auto member, typename Options>
std::string switch_on(Options& options, std::string_view)
{
    options.*member = true;
    return {};
}

template <typename Options>
struct ReadResult {
    Options options;
    std::string error; // empty when the command line was understood
};

namespace option_reading {

struct Word {
    std::string_view name;
    std::string_view value;
    bool has_value; // written as --name=value
};

Word split(std::string_view arg);
// Fills in the value of an option that takes one and was not written with
// "=" from the next argument, advancing `i`; the complaint, or "".
std::string take_value(const std::vector<std::string>& args, std::size_t& i, Word& word, bool takes_value);
// "unexpected argument" for a word that is no option at all, else "unknown option".
std::string unknown(std::string_view arg);
// A complaint names the option as the user wrote it ("-window-id", not "--window-id").
std::string as_written(std::string complaint, std::string_view name, std::string_view spelling);
std::string no_effect(std::string_view spelling, std::string_view mode_name);

} // namespace option_reading

// Reads `args` (without the program name) against `rules`. `mode_name` names
// a mode in the message for an option that has no effect in it. A rule met
// twice is an error: the second value would silently undo the first.
template <typename Options, typename Mode = decltype(Options::mode)>
ReadResult<Options> read_options(std::span<const OptionRule<Options>> rules, const std::vector<std::string>& args,
                                 std::string_view (*mode_name)(Mode))
{
    namespace r = option_reading;
    ReadResult<Options> result;
    struct Given {
        const OptionRule<Options>* rule;
        std::string_view spelling;
    };
    std::vector<Given> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        r::Word word = r::split(args[i]);
        const OptionRule<Options>* rule = nullptr;
        for (const OptionRule<Options>& candidate : rules)
            if (word.name == candidate.name || (!candidate.alias.empty() && word.name == candidate.alias))
                rule = &candidate;
        if (rule == nullptr) return result.error = r::unknown(args[i]), result;
        for (const Given& g : given)
            if (g.rule == rule && !rule->repeatable) return result.error = std::string(word.name) + " is given twice", result;
        result.error = r::take_value(args, i, word, rule->takes_value);
        if (result.error.empty())
            result.error = r::as_written(rule->apply(result.options, word.value), rule->name, word.name);
        if (!result.error.empty()) return result;
        if (result.options.mode == Mode::help || result.options.mode == Mode::version) return result;
        given.push_back({rule, word.name});
    }
    // An option that would change nothing in the chosen mode is a mistake the
    // user should hear of, not a silent no-op.
    for (const Given& g : given)
        if ((g.rule->used_by & modes({result.options.mode})) == 0)
            return result.error = r::no_effect(g.spelling, mode_name(result.options.mode)), result;
    return result;
}

} // namespace gm
