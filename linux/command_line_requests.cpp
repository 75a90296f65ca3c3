#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "linux/command_line.h"

#ifndef HORATTA_VERSION
#error "HORATTA_VERSION is the project's version, set by CMake"
#endif

namespace horatta::shell {

namespace {

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

std::optional<int> answerCommandLine(int argc, char** argv, std::string_view program) {
    const CommandLine line = horatta::parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    switch (line.request) {
        case Request::RunClock: return std::nullopt;
        case Request::Help: std::fputs(horatta::usage(program).c_str(), stdout); return 0;
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
    std::fprintf(stderr, "%.*s: %s\n%s", int(program.size()), program.data(), line.problem.c_str(), horatta::usage(program).c_str());
    return misuseStatus;
}

}  // namespace horatta::shell
