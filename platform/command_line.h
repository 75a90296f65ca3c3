#pragma once

#include <functional>
#include <optional>
#include <span>
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

// An option that belongs to the toolkit the shell is built on, which reads the same command
// line: it is let through, with its value, for the toolkit to take.
struct ToolkitOption {
    std::string_view name;   // with one dash; two are taken as well, as the toolkit does
    std::string_view value;  // what the value is, for the help; empty when it takes none
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments, std::span<const ToolkitOption> toolkit = {});

// What differs between the platforms' help texts.
struct HelpTexts {
    std::string_view program;
    std::string settings;  // where the settings live, as a user finds them
    std::string manual;    // where to read more; may be empty
    std::string_view toolkitName;
    std::span<const ToolkitOption> toolkit;
};

// The usage text, ending with a newline.
std::string usage(const HelpTexts& texts);

// The exit status after a wrong command line, as the shell's own tools give.
constexpr int misuseStatus = 2;
// The exit status when an asked change could not be made.
constexpr int failureStatus = 1;

// What answering a command line does on a platform.
struct CommandLineActions {
    std::function<void(const std::string&)> print;     // to standard output
    std::function<void(const std::string&)> complain;  // to standard error
    // Adds or removes the start at log-in; returns why it failed, or nothing.
    std::function<std::optional<std::string>(bool on)> setAutostart;
};

// Answers a request that needs no window (help, version, autostart, misuse) and returns the
// exit status; returns nothing when the clock is to run.
std::optional<int> answerCommandLine(const std::vector<std::string>& arguments, const HelpTexts& texts,
                                     std::string_view version, const CommandLineActions& actions);

}  // namespace horatta
