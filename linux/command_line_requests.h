#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "platform/command_line.h"

namespace horatta::shell {

// The options QApplication takes from the command line, which the clock lets through to it.
std::span<const ToolkitOption> qtOptions();

// The help's Linux texts: the settings file as this user's clock finds it, and the manual.
HelpTexts helpTexts(std::string_view program);

// Answers a request that needs no window (help, version, autostart, misuse) and returns the
// exit status; returns nothing when the clock is to run. Runs before any window exists, so
// it works without a display.
std::optional<int> answerCommandLine(int argc, char** argv, std::string_view program);

}  // namespace horatta::shell
