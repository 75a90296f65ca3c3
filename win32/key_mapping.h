#pragma once

#include "win32/win32.h"

#include <optional>

#include "window/time_field.h"

namespace horatta::shell {

// The caret and delete keys a time field handles itself, by virtual-key code.
std::optional<EditKey> editKeyFor(WPARAM virtualKey);

}  // namespace horatta::shell
