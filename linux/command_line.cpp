#include "linux/command_line.h"

namespace horatta {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
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
        } else {
            return {Request::Misuse, "unknown option: " + arg};
        }
        // Help wins over everything; otherwise one request per run.
        if (request == Request::Help) return {Request::Help, {}};
        if (line.request != Request::RunClock && line.request != request)
            return {Request::Misuse, "one request at a time"};
        line.request = request;
    }
    return line;
}

std::string usage(std::string_view program) {
    const std::string p(program);
    return "Usage: " + p + " [--autostart on|off] [--help] [--version]\n"
           "A tiny desk clock that stays above every window; it is worked with the mouse.\n"
           "\n"
           "  --autostart on|off  start " + p + " at log-in, or no longer, and exit\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/qom/time.ini. See " + p + "(1).\n";
}

}  // namespace horatta
