#include "platform/command_line.h"

#include <algorithm>

namespace horatta {

namespace {

// The toolkit's option that `arg` is, and whether its value is attached to it ("-style=x").
struct Match {
    const ToolkitOption* option = nullptr;
    bool attached = false;
};

Match toolkitOption(std::string_view arg, std::span<const ToolkitOption> toolkit) {
    // The toolkit reads "--platform" as "-platform".
    if (arg.starts_with("--")) arg.remove_prefix(1);
    for (const ToolkitOption& option : toolkit) {
        if (option.name.ends_with('=')) {
            if (arg.starts_with(option.name)) return {&option, true};
        } else if (arg == option.name) {
            return {&option, false};
        }
    }
    return {};
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments, std::span<const ToolkitOption> toolkit) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        Request request = Request::Misuse;
        if (arg == "--help" || arg == "-h") request = Request::Help;
        else if (arg == "--version" || arg == "-V") request = Request::Version;
        else if (arg == "--autostart" || arg.starts_with("--autostart=")) {
            std::string value;
            if (arg != "--autostart") value = arg.substr(arg.find('=') + 1);
            else if (i + 1 < arguments.size()) value = arguments[++i];
            if (value == "on") request = Request::AutostartOn;
            else if (value == "off") request = Request::AutostartOff;
            else return {Request::Misuse, "--autostart takes on or off"};
        } else if (const Match match = toolkitOption(arg, toolkit); match.option) {
            if (!match.attached && !match.option->value.empty() && ++i == arguments.size())
                return {Request::Misuse, arg + " needs a value"};
            continue;
        } else if (arg.starts_with('-')) {
            return {Request::Misuse, "unknown option: " + arg};
        } else {
            return {Request::Misuse, "unexpected argument: " + arg};
        }
        // Help wins over everything; otherwise one request per run.
        if (request == Request::Help) return {Request::Help, {}};
        if (line.request != Request::RunClock && line.request != request)
            return {Request::Misuse, "one request at a time"};
        line.request = request;
    }
    return line;
}

namespace {

std::string synopsis(const HelpTexts& texts) {
    const std::string p(texts.program);
    std::string line = "Usage: " + p + " [--autostart on|off] [--help] [--version]";
    if (!texts.toolkit.empty()) line += " [" + std::string(texts.toolkitName) + " options]";
    return line + "\n";
}

}  // namespace

std::string usage(const HelpTexts& texts) {
    const std::string p(texts.program);
    std::string text = synopsis(texts) +
        "A tiny desk clock that stays above every window. It has no menu: it is worked\n"
        "with presses, double-clicks and typing on the strip.\n"
        "\n"
        "  --autostart on|off  start " + p + " at log-in, or no longer, and exit\n"
        "  -h, --help          show this help and exit\n"
        "  -V, --version       show the version and exit\n"
        "\n"
        "On the strip (the time is the coloured text, the handle the invisible left end,\n"
        "the face the rest):\n"
        "  drag the time or the handle  moves the window (Escape puts it back)\n"
        "  left press on the time       the next text colour\n"
        "  right press on the time      the next skin\n"
        "  right press on the handle    scroll mode on or off\n"
        "  double-click the handle      stops a reminder or countdown, or saves and quits\n"
        "  click the face               the memo: type, then Enter\n"
        "  double-click the time        the power-off time: type hhmmss, then Enter\n"
        "  double-click the face        back to the plain clock; there, the reminder time\n"
        "  type in a time field         digits only, hh:mm:ss; Enter sets the time\n"
        "\n"
        "  Ctrl+Alt+Z, then any key powers the computer off at once, without asking.\n"
        "\n"
        "Settings: " + texts.settings + "\n";
    if (!texts.toolkit.empty()) {
        text += std::string(texts.toolkitName) + "'s own options are passed on to it:";
        std::size_t column = 80;  // starts a line at the first option
        for (const ToolkitOption& option : texts.toolkit) {
            if (option.name.ends_with('=')) continue;
            std::string item = std::string(option.name) + (option.value.empty() ? "" : " " + std::string(option.value));
            if (column + item.size() + 1 > 78) {
                text += "\n ";
                column = 1;
            }
            text += " " + item;
            column += item.size() + 1;
        }
        text += "\n";
    }
    if (!texts.manual.empty()) text += "More: " + texts.manual + "\n";
    return text;
}

std::optional<int> answerCommandLine(const std::vector<std::string>& arguments, const HelpTexts& texts,
                                     std::string_view version, const CommandLineActions& actions) {
    const CommandLine line = parseCommandLine(arguments, texts.toolkit);
    const std::string program(texts.program);
    switch (line.request) {
        case Request::RunClock: return std::nullopt;
        case Request::Help: actions.print(usage(texts)); return 0;
        case Request::Version: actions.print(program + " " + std::string(version) + "\n"); return 0;
        case Request::AutostartOn:
        case Request::AutostartOff:
            if (const auto problem = actions.setAutostart(line.request == Request::AutostartOn)) {
                actions.complain(program + ": " + *problem + "\n");
                return failureStatus;
            }
            return 0;
        case Request::Misuse: break;
    }
    actions.complain(program + ": " + line.problem + "\n" + synopsis(texts) + "Try '" + program + " --help' for more.\n");
    return misuseStatus;
}

}  // namespace horatta
