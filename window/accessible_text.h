#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/form1.h"

namespace horatta {

// What a screen reader says of the strip: the text the face shows (the caption in front,
// then the time, or the countdown, memo or reminder text in its place), each run of blanks
// one space; and, as its description, the date tip.
std::string spokenName(const Form1& form);
std::string spokenDescription(const Form1& form);
// What an entry field holds, as its name; empty for any other control.
std::string_view fieldName(const Form1& form, ControlId id);

// Every changed name is an event on the accessibility bus, and a scrolling or blinking face
// changes far more often than anyone can listen: at most one goes out a second.
class AnnouncePace {
public:
    static constexpr std::int64_t leastGapMs = 1000;
    // How long from `nowMs` (a steady clock's) until the next announcement may go out; 0 when
    // it may now.
    std::int64_t waitMs(std::int64_t nowMs) const;
    void announced(std::int64_t nowMs) { lastMs_ = nowMs; }

private:
    std::optional<std::int64_t> lastMs_;
};

}  // namespace horatta
