#include "window/time_field.h"

#include <algorithm>

#include "window/utf8.h"

namespace horatta {

namespace {
bool isDigit(std::int16_t code) { return code >= '0' && code <= '9'; }
}  // namespace

MaskedTimeField::MaskedTimeField() { setText(""); }

std::string MaskedTimeField::text() const { return std::string(chars_.begin(), chars_.end()); }

void MaskedTimeField::setText(std::string_view text) {
    if (text.empty()) {
        chars_.fill(prompt);
    } else {
        if (text.size() != length) return;
        for (int i = 0; i < length; ++i) {
            char c = text[static_cast<std::size_t>(i)];
            bool fits = isLiteral(i) ? c == ':' : (c == prompt || (c >= '0' && c <= '9'));
            if (!fits) return;
        }
        std::copy(text.begin(), text.end(), chars_.begin());
    }
    chars_[2] = ':';
    chars_[5] = ':';
    caret_ = 0;
}

bool MaskedTimeField::complete() const {
    for (int i = 0; i < length; ++i)
        if (!isLiteral(i) && chars_[static_cast<std::size_t>(i)] == prompt) return false;
    return true;
}

int MaskedTimeField::nextStop(int index) const {
    int next = std::min(index + 1, length);
    return isLiteral(next) ? next + 1 : next;
}

int MaskedTimeField::previousStop(int index) const {
    int previous = std::max(index - 1, 0);
    return isLiteral(previous) ? previous - 1 : previous;
}

void MaskedTimeField::setSelStart(int index) {
    caret_ = std::clamp(index, 0, length);
    if (isLiteral(caret_)) ++caret_;
}

void MaskedTimeField::typeChar(std::int16_t code) {
    if (isDigit(code)) {
        if (caret_ >= length) return;  // the mask is full: no room for the key
        chars_[static_cast<std::size_t>(caret_)] = static_cast<char>(code);
        caret_ = nextStop(caret_);
    } else if (code == keyBackspace && caret_ > 0) {
        caret_ = previousStop(caret_);
        chars_[static_cast<std::size_t>(caret_)] = prompt;
    }
    // Every other character, the refused key and Enter among them, inserts nothing.
}

void MaskedTimeField::editKey(EditKey key) {
    switch (key) {
        case EditKey::Left: caret_ = previousStop(caret_); break;
        case EditKey::Right: caret_ = nextStop(caret_); break;
        case EditKey::Home: caret_ = 0; break;
        case EditKey::End: caret_ = length; break;
        case EditKey::Delete:
            if (caret_ < length) chars_[static_cast<std::size_t>(caret_)] = prompt;
            break;
    }
}

void PlainTimeField::setText(std::string_view text) {
    text_ = std::string(text);
    caret_ = 0;
}

void PlainTimeField::setSelStart(int index) {
    caret_ = std::clamp(index, 0, static_cast<int>(utf8::length(text_)));
}

void PlainTimeField::typeChar(std::int16_t code) {
    auto unit = static_cast<std::uint16_t>(code);
    if (unit == static_cast<std::uint16_t>(keyBackspace)) {
        if (caret_ == 0) return;
        std::size_t from = utf8::offset(text_, static_cast<std::size_t>(caret_ - 1));
        std::size_t to = utf8::offset(text_, static_cast<std::size_t>(caret_));
        text_.erase(from, to - from);
        --caret_;
        return;
    }
    // Control characters (Enter and the refused key among them) and lone surrogate
    // halves insert nothing.
    if (unit < 32 || unit == 127 || (unit >= 0xD800 && unit <= 0xDFFF)) return;
    text_.insert(utf8::offset(text_, static_cast<std::size_t>(caret_)), utf8::encode(unit));
    ++caret_;
}

void PlainTimeField::editKey(EditKey key) {
    int length = static_cast<int>(utf8::length(text_));
    switch (key) {
        case EditKey::Left: caret_ = std::max(caret_ - 1, 0); break;
        case EditKey::Right: caret_ = std::min(caret_ + 1, length); break;
        case EditKey::Home: caret_ = 0; break;
        case EditKey::End: caret_ = length; break;
        case EditKey::Delete:
            if (caret_ < length) {
                std::size_t from = utf8::offset(text_, static_cast<std::size_t>(caret_));
                std::size_t to = utf8::offset(text_, static_cast<std::size_t>(caret_ + 1));
                text_.erase(from, to - from);
            }
            break;
    }
}

}  // namespace horatta
