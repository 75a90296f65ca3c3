#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horatta {

// What a command line asks of the program.
enum class Request { RunClock, Help, Version, AutostartOn, AutostartOff, Misuse };

struct CommandLine {
    Request request = Request::RunClock;
    std::string problem;  // why a Misuse is one
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text of `program`, ending with a newline.
std::string usage(std::string_view program);

// The exit status after a wrong command line, as the shell's own tools give.
constexpr int misuseStatus = 2;

}  // namespace horatta

namespace horatta::shell {

// Answers a request that needs no window (help, version, autostart, misuse) and returns the
// exit status; returns nothing when the clock is to run. Runs before any window exists, so
// it works without a display.
std::optional<int> answerCommandLine(int argc, char** argv, std::string_view program);

}  // namespace horatta::shell
