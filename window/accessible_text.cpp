#include "window/accessible_text.h"

#include <algorithm>

namespace horatta {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Appends the words of `text` to `out`, one space between each and those already there.
void appendWords(std::string& out, std::string_view text) {
    bool inWord = false;
    for (char c : text) {
        if (isBlank(c)) {
            inWord = false;
            continue;
        }
        if (!inWord && !out.empty()) out += ' ';
        out += c;
        inWord = true;
    }
}

}  // namespace

std::string spokenName(const Form1& form) {
    std::string name;
    for (const Label* label : {&form.Label3, &form.Label1})
        if (label->Visible) appendWords(name, label->caption());
    return name;
}

std::string spokenDescription(const Form1& form) {
    std::string description;
    appendWords(description, form.Label1.ToolTipText);
    return description;
}

std::string_view fieldName(const Form1& form, ControlId id) {
    if (id == ControlId::Text2) return "Memo";
    if (id == ControlId::Text1) return "Reminder message";
    if (id == form.shutdownFieldId()) return "Power-off time";
    if (id == form.reminderFieldId()) return "Reminder time";
    return {};
}

std::int64_t AnnouncePace::waitMs(std::int64_t nowMs) const {
    if (!lastMs_) return 0;
    return std::clamp<std::int64_t>(leastGapMs - (nowMs - *lastMs_), 0, leastGapMs);
}

}  // namespace horatta
