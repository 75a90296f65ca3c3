#include "linux/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef HORATTA_VERSION
#error "HORATTA_VERSION is the project's version, set by CMake"
#endif

namespace horatta::shell {

namespace {

constexpr int misuseStatus = 2;  // as the shell's own tools report a wrong command line

std::filesystem::path autostartEntry(std::string_view program) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && *config) base = config;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
    else return {};
    return base / "autostart" / (std::string(program) + ".desktop");
}

// The entry starts this very file, so a clock run from a build folder starts from there too.
bool addAutostart(std::string_view program) {
    const std::filesystem::path entry = autostartEntry(program);
    if (entry.empty()) return false;
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = program;
    std::filesystem::create_directories(entry.parent_path(), error);
    const std::filesystem::path partial = entry.string() + ".new";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name="
            << program
            << "\n"
               "Comment=A tiny desk clock that stays above every window\n"
               "Exec=\""
            << self.string()
            << "\"\n"
               "Icon=horatta\n"
               "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n";
        if (!out.flush()) return false;
    }
    std::filesystem::rename(partial, entry, error);
    return !error;
}

bool removeAutostart(std::string_view program) {
    const std::filesystem::path entry = autostartEntry(program);
    if (entry.empty()) return false;
    std::error_code error;
    std::filesystem::remove(entry, error);
    return !error;
}

}  // namespace

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

std::optional<int> answerCommandLine(int argc, char** argv, std::string_view program) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    switch (line.request) {
        case Request::RunClock: return std::nullopt;
        case Request::Help: std::fputs(usage(program).c_str(), stdout); return 0;
        case Request::Version: std::printf("%.*s %s\n", int(program.size()), program.data(), HORATTA_VERSION); return 0;
        case Request::AutostartOn:
        case Request::AutostartOff: {
            const bool on = line.request == Request::AutostartOn;
            if (on ? addAutostart(program) : removeAutostart(program)) return 0;
            std::fprintf(stderr, "%.*s: the autostart entry could not be %s\n", int(program.size()), program.data(),
                         on ? "written" : "removed");
            return 1;
        }
        case Request::Misuse: break;
    }
    std::fprintf(stderr, "%.*s: %s\n%s", int(program.size()), program.data(), line.problem.c_str(), usage(program).c_str());
    return misuseStatus;
}

}  // namespace horatta::shell
