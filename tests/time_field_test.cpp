#include <gtest/gtest.h>

#include <variant>

#include "window/time_field.h"

namespace horatta {
namespace {

// One step of typing: a character code, or an editing key; then the text and caret expected.
struct Step {
    std::variant<std::int16_t, EditKey> key;
    const char* text;
    int caret;
};

void typeInto(TimeField& field, const std::vector<Step>& steps) {
    int n = 0;
    for (const auto& s : steps) {
        ++n;
        if (std::holds_alternative<std::int16_t>(s.key)) field.typeChar(std::get<std::int16_t>(s.key));
        else field.editKey(std::get<EditKey>(s.key));
        EXPECT_EQ(field.text(), s.text) << "after key " << n;
        EXPECT_EQ(field.selStart(), s.caret) << "after key " << n;
    }
}

constexpr std::int16_t ch(char c) { return static_cast<std::int16_t>(c); }

TEST(MaskedTimeField, DigitsFillThePositionsAndTheCaretStepsOverTheColons) {
    MaskedTimeField f;
    f.setText("");
    typeInto(f, {
        {ch('2'), "2 :  :  ", 1}, {ch('3'), "23:  :  ", 3}, {ch('5'), "23:5 :  ", 4},
        {ch('9'), "23:59:  ", 6}, {ch('5'), "23:59:5 ", 7}, {ch('9'), "23:59:59", 8},
        {ch('1'), "23:59:59", 8},  // full: no room for another digit
    });
    EXPECT_TRUE(f.complete());
}

TEST(MaskedTimeField, RefusedKeysEnterLettersAndControlCodesInsertNothing) {
    MaskedTimeField f;
    f.setText("");
    typeInto(f, {
        {keyRefused, "  :  :  ", 0}, {keyEnter, "  :  :  ", 0}, {ch('a'), "  :  :  ", 0},
        {ch(':'), "  :  :  ", 0},    {ch(' '), "  :  :  ", 0},  {std::int16_t{27}, "  :  :  ", 0},
        {ch('1'), "1 :  :  ", 1},
    });
}

TEST(MaskedTimeField, BackspaceArrowsHomeEndAndDelete) {
    MaskedTimeField f;
    f.setText("12:34:56");
    f.setSelStart(8);
    typeInto(f, {
        {keyBackspace, "12:34:5 ", 7}, {keyBackspace, "12:34:  ", 6}, {keyBackspace, "12:3 :  ", 4},
        {EditKey::Left, "12:3 :  ", 3}, {EditKey::Left, "12:3 :  ", 1}, {EditKey::Right, "12:3 :  ", 3},
        {EditKey::Delete, "12:  :  ", 3}, {ch('0'), "12:0 :  ", 4}, {EditKey::Home, "12:0 :  ", 0},
        {EditKey::Left, "12:0 :  ", 0}, {keyBackspace, "12:0 :  ", 0}, {ch('0'), "02:0 :  ", 1},
        {EditKey::End, "02:0 :  ", 8}, {EditKey::Right, "02:0 :  ", 8}, {EditKey::Delete, "02:0 :  ", 8},
    });
}

TEST(MaskedTimeField, OnlyTextsThatFitTheMaskAreTakenAndTheEmptyTextLeavesBlanks) {
    MaskedTimeField f;
    f.setText("21:30:00");
    EXPECT_EQ(f.text(), "21:30:00");
    f.setText("2130");
    f.setText("21-30-00");
    f.setText("ab:cd:ef");
    EXPECT_EQ(f.text(), "21:30:00");
    f.setSelStart(2);
    EXPECT_EQ(f.selStart(), 3) << "the caret never rests on a colon";
    f.setSelStart(99);
    EXPECT_EQ(f.selStart(), 8);
    f.setText("");
    EXPECT_EQ(f.text(), "  :  :  ");
    EXPECT_EQ(f.selStart(), 0);
    EXPECT_FALSE(f.complete());
}

TEST(PlainTimeField, AnyTextAnyLengthNoFilter) {
    PlainTimeField f;
    f.setText("Text3");
    EXPECT_EQ(f.selStart(), 0);
    f.setText("");
    typeInto(f, {
        {ch('1'), "1", 1}, {ch('2'), "12", 2}, {ch(':'), "12:", 3}, {ch('x'), "12:x", 4},
        {keyRefused, "12:x", 4}, {keyEnter, "12:x", 4}, {keyBackspace, "12:", 3},
        {ch('3'), "12:3", 4}, {ch('0'), "12:30", 5}, {ch(':'), "12:30:", 6}, {ch('4'), "12:30:4", 7},
        {ch('5'), "12:30:45", 8}, {ch('9'), "12:30:459", 9},  // no length limit
    });
}

TEST(PlainTimeField, EditingInTheMiddleAndNonAsciiCharacters) {
    PlainTimeField f;
    f.setText("12:45");
    typeInto(f, {
        {EditKey::End, "12:45", 5}, {EditKey::Left, "12:45", 4}, {EditKey::Left, "12:45", 3},
        {ch('3'), "12:345", 4}, {EditKey::Delete, "12:35", 4}, {EditKey::Home, "12:35", 0},
        {keyBackspace, "12:35", 0}, {EditKey::Delete, "2:35", 0},
        {static_cast<std::int16_t>(0x00E9), "\xC3\xA9" "2:35", 1},   // é
        {static_cast<std::int16_t>(0x5173), "\xC3\xA9\xE5\x85\xB3" "2:35", 2},  // 关
        {EditKey::Right, "\xC3\xA9\xE5\x85\xB3" "2:35", 3}, {keyBackspace, "\xC3\xA9\xE5\x85\xB3:35", 2},
        {keyBackspace, "\xC3\xA9:35", 1},
        {static_cast<std::int16_t>(0xD83D), "\xC3\xA9:35", 1},  // half a surrogate pair inserts nothing
    });
    f.setSelStart(-4);
    EXPECT_EQ(f.selStart(), 0);
    f.setSelStart(40);
    EXPECT_EQ(f.selStart(), 4);
}

}  // namespace
}  // namespace horatta
