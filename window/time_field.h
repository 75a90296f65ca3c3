#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "window/controls.h"

namespace horatta {

// Keys that move the caret or delete without producing a character.
enum class EditKey { Left, Right, Home, End, Delete };

inline constexpr std::int16_t keyBackspace = 8;
inline constexpr std::int16_t keyEnter = 13;
inline constexpr std::int16_t keyRefused = 17;

// A time-entry field whose editing the core does itself, so every typing rule can be
// tested without a window. The shell forwards keys and shows text and caret.
class TimeField : public Control {
public:
    Color ForeColor = Color::rgb(0, 0, 0);
    Color BackColor = Color::rgb(0, 0, 0);

    virtual ~TimeField() = default;
    virtual std::string text() const = 0;
    // Writing the text puts the caret at index 0.
    virtual void setText(std::string_view text) = 0;
    virtual int selStart() const = 0;
    virtual void setSelStart(int index) = 0;
    // A character key, after the key-press handler has had its say.
    virtual void typeChar(std::int16_t code) = 0;
    virtual void editKey(EditKey key) = 0;
};

// The masked field "##:##:##": six digit positions shown blank until typed, the colons
// fixed and stepped over by the caret, eight characters at most.
class MaskedTimeField : public TimeField {
public:
    static constexpr int length = 8;
    static constexpr char prompt = ' ';

    MaskedTimeField();
    std::string text() const override;
    void setText(std::string_view text) override;
    int selStart() const override { return caret_; }
    void setSelStart(int index) override;
    void typeChar(std::int16_t code) override;
    void editKey(EditKey key) override;
    // True when every digit position holds a digit.
    bool complete() const;

    static bool isLiteral(int index) { return index == 2 || index == 5; }

private:
    int nextStop(int index) const;
    int previousStop(int index) const;
    std::array<char, length> chars_{};
    int caret_ = 0;
};

// An ordinary single-line field: no mask, no length limit, no filter of its own.
class PlainTimeField : public TimeField {
public:
    std::string text() const override { return text_; }
    void setText(std::string_view text) override;
    int selStart() const override { return caret_; }
    void setSelStart(int index) override;
    void typeChar(std::int16_t code) override;
    void editKey(EditKey key) override;

private:
    std::string text_;
    int caret_ = 0;  // in characters
};

}  // namespace horatta
