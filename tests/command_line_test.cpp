#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_line.h"

namespace horatta {
namespace {

constexpr ToolkitOption toolkit[] = {{"-platform", "NAME"}, {"-style=", ""}, {"-reverse", ""}};

struct Answer {
    std::optional<int> status;
    std::string out, err;
    std::vector<bool> autostart;  // what was asked of the platform
};

Answer answer(const std::vector<std::string>& arguments, std::optional<std::string> autostartProblem = {}) {
    Answer result;
    const HelpTexts texts{.program = "horatta-t", .settings = "/home/u/.config/qom/time.ini", .manual = "man horatta-t",
                          .toolkitName = "Qt", .toolkit = toolkit};
    const CommandLineActions actions{
        .print = [&](const std::string& text) { result.out += text; },
        .complain = [&](const std::string& text) { result.err += text; },
        .setAutostart = [&](bool on) { result.autostart.push_back(on); return autostartProblem; }};
    result.status = answerCommandLine(arguments, texts, "1.0", actions);
    return result;
}

// Each row: the arguments, then the request ("run", the first line printed, the autostart
// asked) or the complaint's first line, and the exit status (-1: the clock runs).
TEST(CommandLine, EachArgumentIsOneRequestHelpWinsToolkitOptionsPassAndAnythingElseIsMisuse) {
    const struct {
        std::vector<std::string> arguments;
        const char* outcome;
        int status;
    } rows[] = {
        {{}, "run", -1},
        {{"--help"}, "Usage: horatta-t [--autostart on|off] [--help] [--version] [Qt options]", 0},
        {{"--version", "-h"}, "Usage: horatta-t [--autostart on|off] [--help] [--version] [Qt options]", 0},
        {{"--version", "-V"}, "horatta-t 1.0", 0},
        {{"--autostart", "on"}, "autostart on", 0},
        {{"--autostart=off"}, "autostart off", 0},
        {{"--autostart", "off", "--autostart=off"}, "autostart off", 0},
        {{"--autostart", "off", "--help"}, "Usage: horatta-t [--autostart on|off] [--help] [--version] [Qt options]", 0},
        {{"--autostart=on", "--version"}, "horatta-t: one request at a time", 2},
        {{"--autostart"}, "horatta-t: --autostart takes on or off", 2},
        {{"--autostart=maybe", "on"}, "horatta-t: --autostart takes on or off", 2},
        {{"--autostarton"}, "horatta-t: unknown option: --autostarton", 2},
        {{"-x", "--help"}, "horatta-t: unknown option: -x", 2},
        {{"--"}, "horatta-t: unknown option: --", 2},
        {{"clock"}, "horatta-t: unexpected argument: clock", 2},
        // The toolkit's options, one dash or two, with their values, whatever those look like.
        {{"-platform", "offscreen"}, "run", -1},
        {{"--platform", "offscreen", "--version"}, "horatta-t 1.0", 0},
        {{"-platform", "--help"}, "run", -1},
        {{"-reverse", "-V"}, "horatta-t 1.0", 0},
        {{"-style=fusion", "-reverse"}, "run", -1},
        {{"-platform"}, "horatta-t: -platform needs a value", 2},
        {{"-version", "x"}, "horatta-t: unknown option: -version", 2},
        {{"-platform=offscreen"}, "horatta-t: unknown option: -platform=offscreen", 2},
        {{"-style", "fusion"}, "horatta-t: unknown option: -style", 2},
        {{"-reverse", "x"}, "horatta-t: unexpected argument: x", 2},
        {{"---platform", "x"}, "horatta-t: unknown option: ---platform", 2},
    };
    for (const auto& row : rows) {
        const Answer got = answer(row.arguments);
        std::string outcome = got.status ? (got.out + got.err).substr(0, (got.out + got.err).find('\n')) : "run";
        if (!got.autostart.empty()) outcome = got.autostart == std::vector{true} ? "autostart on" : "autostart off";
        const std::string shown = row.arguments.empty() ? "(none)" : row.arguments[0] + " …";
        EXPECT_EQ(outcome, row.outcome) << shown;
        EXPECT_EQ(got.status.value_or(-1), row.status) << shown;
        // A misuse goes to standard error only, and points to the help.
        EXPECT_EQ(got.err.empty(), row.status != 2) << shown;
        EXPECT_TRUE(row.status != 2 || (got.out.empty() && got.err.ends_with("Try 'horatta-t --help' for more.\n"))) << got.err;
    }
}

TEST(CommandLine, AFailedAutostartSaysWhyOnStandardErrorWithStatusOne) {
    const Answer got = answer({"--autostart", "on"}, "the entry could not be written");
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, "horatta-t: the entry could not be written\n");
    EXPECT_EQ(got.out, "");
}

// The help names where this user's settings are, the manual and the toolkit's options, says
// what the hot key does, and fits a terminal's 80 columns.
TEST(CommandLine, TheHelpNamesThePlatformsPlacesTheHotKeyAndFitsATerminal) {
    const std::string help = answer({"-h"}).out;
    for (const char* part : {"\nSettings: /home/u/.config/qom/time.ini\n", "\nMore: man horatta-t\n",
                             "\nQt's own options are passed on to it:\n  -platform NAME -reverse\n",
                             "Ctrl+Alt+Z, then any key powers the computer off at once",
                             "  --autostart on|off  start horatta-t at log-in"})
        EXPECT_NE(help.find(part), std::string::npos) << part << " is not in\n" << help;
    for (std::size_t start = 0, end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << help.substr(start, end - start);

    // The toolkit's options fill lines of up to 78 columns: a and b just fit, c and d do not.
    const std::string a(37, 'a'), b(38, 'b'), c(37, 'c'), d(39, 'd');
    const ToolkitOption wide[] = {{a, ""}, {b, ""}, {c, ""}, {d, ""}};
    const std::string filled = usage({.program = "horatta", .settings = "s", .manual = {}, .toolkitName = "Qt", .toolkit = wide});
    EXPECT_TRUE(filled.ends_with("to it:\n  " + a + " " + b + "\n  " + c + "\n  " + d + "\n")) << filled;

    const std::string bare = usage({.program = "horatta", .settings = "the registry", .manual = {}, .toolkitName = {}, .toolkit = {}});
    EXPECT_TRUE(bare.starts_with("Usage: horatta [--autostart on|off] [--help] [--version]\n")) << bare;
    EXPECT_TRUE(bare.ends_with("\nSettings: the registry\n")) << bare;
}

}  // namespace
}  // namespace horatta
