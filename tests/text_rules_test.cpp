#include "settings/name_fold.h"
#include "support/simulator.h"
#include "window/accessible_text.h"
#include "window/caret.h"
#include "window/skin_picture.h"
#include "window/utf16.h"
#include "window/utf8.h"

namespace horatta::testing {
namespace {

// The text rules both shells apply to what their native widgets hold and measure.

TEST(TextRules, Utf8EncodesEachLengthAndCountsCharacters) {
    const std::pair<std::uint32_t, std::string> codes[] = {
        {0x41, "A"}, {0x7F, "\x7F"}, {0xE9, "\xC3\xA9"}, {0x7FF, "\xDF\xBF"}, {0x5173, "\xE5\x85\xB3"},
        {0xFFFD, "\xEF\xBF\xBD"}, {0x1F550, "\xF0\x9F\x95\x90"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, ""},
    };
    std::string all;
    for (const auto& [code, bytes] : codes) {
        EXPECT_EQ(utf8::encode(code), bytes) << code;
        all += bytes;
    }
    // The eight characters start where each one's bytes do; past the end is the end.
    EXPECT_EQ(utf8::length(all), 8u);
    const std::size_t starts[] = {0, 1, 2, 4, 6, 9, 12, 16, 20, 20};
    for (std::size_t i = 0; i < std::size(starts); ++i) EXPECT_EQ(utf8::offset(all, i), starts[i]) << i;
}

TEST(TextRules, Utf16PositionsCountAPairAsOneCharacterAndClamp) {
    struct Row {
        std::u16string text;
        int characters, units;  // the one position in both counts
    };
    const std::u16string high(1, char16_t(0xD800)), low(1, char16_t(0xDC00));
    const Row rows[] = {
        {u"a\U0001F550b", 1, 1}, {u"a\U0001F550b", 2, 3}, {u"a\U0001F550b", 3, 4},
        {high + u"x", 1, 1}, {u"x" + low + high, 2, 2}, {u"x" + low + high, 3, 3},  // lone surrogates
        {u"", 0, 0},
    };
    for (const auto& [text, characters, units] : rows) {
        EXPECT_EQ(utf16::unitsBefore(text, characters), units) << characters;
        EXPECT_EQ(utf16::charactersBefore(text, units), characters) << units;
    }
    const std::u16string pair = u"a\U0001F550b";
    EXPECT_EQ(utf16::charactersBefore(pair, 2), 2) << "inside a pair: the pair is before";
    EXPECT_EQ((std::array{utf16::unitsBefore(pair, 9), utf16::charactersBefore(pair, 9), utf16::length(pair)}),
              (std::array{4, 3, 3})) << "past the end";
    EXPECT_EQ((std::array{utf16::unitsBefore(pair, -1), utf16::charactersBefore(pair, -1)}), (std::array{0, 0}));
}

TEST(TextRules, NamesFoldAsciiLettersOnly) {
    EXPECT_EQ(foldName("Software\\Qom\\TIME9 Az@[`{"), "software\\qom\\time9 az@[`{");
    EXPECT_EQ(foldName("\xC3\x84\xC3\xA4"), "\xC3\x84\xC3\xA4") << "no byte of a UTF-8 name changes";
}

// A field 1 pixel in whose characters are 6 pixels wide, the time field of the rounded face.
TEST(TextRules, APressPutsTheCaretAtTheNearestBoundary) {
    const std::string text = "1\xE6\x97\xB6" "2";  // three characters, one of three bytes
    const auto caretX = [&](int index) { return 1 + 6 * static_cast<int>(utf8::length(textBeforeCaret(text, index))); };
    const std::pair<int, int> presses[] = {{-5, 0}, {3, 0}, {4, 0}, {5, 1}, {10, 1}, {11, 2}, {17, 3}, {99, 3}};  // x, caret; the first of two as near
    for (const auto& [x, caret] : presses) EXPECT_EQ(caretNearest(text, x, caretX), caret) << x;
    EXPECT_EQ(caretNearest("", 50, caretX), 0);
    EXPECT_EQ((std::array{textBeforeCaret(text, -1), textBeforeCaret(text, 2), textBeforeCaret(text, 9)}),
              (std::array<std::string_view, 3>{"", "1\xE6\x97\xB6", text}));
}

TEST(TextRules, TheStripIsSpokenAsTheFaceShowsIt) {
    Simulator s(Build::Masked);
    Form1& f = s.form();
    struct Row {
        const char* handle;
        bool handleShown;
        const char* face;
        const char* spoken;
    };
    const Row rows[] = {
        {"", true, "  18:36:16 ", "18:36:16"},
        {"0", true, "\xE5\x85\xB3\xE6\x9C\xBA", "0 \xE5\x85\xB3\xE6\x9C\xBA"},
        {"0", false, "Buy\t\tmilk\n", "Buy milk"},
    };
    for (const auto& [handle, handleShown, face, spoken] : rows) {
        f.Label3.setCaption(handle), f.Label3.Visible = handleShown, f.Label1.setCaption(face);
        EXPECT_EQ(spokenName(f), spoken) << face;
    }
    f.Label1.ToolTipText = " Sunday, 6 December  2026 ";
    EXPECT_EQ(spokenDescription(f), "Sunday, 6 December 2026");
    const std::pair<ControlId, std::string_view> fields[] = {
        {ControlId::Text2, "Memo"}, {ControlId::Text1, "Reminder message"}, {f.shutdownFieldId(), "Power-off time"},
        {f.reminderFieldId(), "Reminder time"}, {ControlId::Label1, ""},
    };
    for (const auto& [id, name] : fields) EXPECT_EQ(fieldName(f, id), name) << name;
}

TEST(TextRules, AnnouncementsGoOutAtMostOnceASecond) {
    AnnouncePace pace;
    EXPECT_EQ(pace.waitMs(5'000), 0) << "the first at once";
    pace.announced(5'000);
    const std::pair<std::int64_t, std::int64_t> waits[] = {{5'000, 1'000}, {5'300, 700}, {5'999, 1}, {6'000, 0}, {9'000, 0}, {4'000, 1'000}};
    for (const auto& [now, wait] : waits) EXPECT_EQ(pace.waitMs(now), wait) << now;
}

TEST(TextRules, SkinsAreDrawnFromTheNearestPictureAtOrAboveTheScale) {
    const std::pair<double, int> scales[] = {{0.5, 1}, {1, 1}, {1.25, 2}, {144 / 96.0, 2}, {2, 2}, {2.01, 3}, {3, 3}, {4, 3}};
    for (const auto& [scale, factor] : scales) EXPECT_EQ(skinPictureFactor(scale), factor) << scale;
}

}  // namespace
}  // namespace horatta::testing
