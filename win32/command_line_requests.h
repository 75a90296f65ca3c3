#pragma once

#include <optional>
#include <string_view>

namespace horatta::shell {

// Answers a request of the program's command line that needs no window (help, version,
// autostart, misuse) and returns the exit status; returns nothing when the clock is to run.
// Help and version go to standard output when the program has one (a console or a pipe),
// and to a message box otherwise.
std::optional<int> answerCommandLine(std::string_view program);

}  // namespace horatta::shell
