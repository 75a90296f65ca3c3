#pragma once

#include <optional>
#include <vector>

#include "window/controls.h"

namespace horatta {

class Form1;

// The windowed controls the Tab key goes round, in their tab order; those without a tab
// index take the keyboard only from a click or from the program.
std::vector<ControlId> tabOrder(const Form1& form);

// Where Tab (or Shift+Tab, `backwards`) moves the keyboard from `from`: the next shown control
// in the tab order, round from the last to the first. None when no control is shown.
std::optional<ControlId> nextInTabOrder(const Form1& form, ControlId from, bool backwards);

}  // namespace horatta
