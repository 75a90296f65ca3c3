#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horatta {

// An argument of a Desktop Entry's Exec key: quoted whenever it needs to be, with the quoting's
// escapes and a literal "%" doubled (the key's field codes start with it).
std::string desktopExecArgument(std::string_view argument);

// A value of type string: backslashes, line breaks and tabs escaped.
std::string desktopStringValue(std::string_view value);

// The entry that starts `programPath` at log-in, and only while that file is there (TryExec);
// nothing when the path cannot stand in an entry (not UTF-8, or holding a control character
// that no escape spells).
std::optional<std::string> autostartEntry(std::string_view name, std::string_view comment, std::string_view programPath);

}  // namespace horatta
