#include <gtest/gtest.h>

#include "windows/wide.h"

namespace horatta::win {
namespace {

TEST(Wide, TextRoundTripsWhole) {
    for (std::string text : {"", "abc", "关机 at 21:30", "Grüße", "emoji \xF0\x9F\x95\x90 clock"}) {
        EXPECT_EQ(narrow(widen(text)), text);
    }
}

TEST(Wide, PositionsCountASurrogatePairAsOneCharacter) {
    const std::wstring text = widen("a\xF0\x9F\x95\x90" "b");  // a, U+1F550, b: four UTF-16 units
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(charactersBefore(text, 0), 0);
    EXPECT_EQ(charactersBefore(text, 1), 1);
    EXPECT_EQ(charactersBefore(text, 3), 2);
    EXPECT_EQ(charactersBefore(text, 4), 3);
    EXPECT_EQ(charactersBefore(text, 99), 3);
    EXPECT_EQ(unitsBefore(text, 0), 0);
    EXPECT_EQ(unitsBefore(text, 2), 3);
    EXPECT_EQ(unitsBefore(text, 3), 4);
    EXPECT_EQ(unitsBefore(text, 99), 4);
}

}  // namespace
}  // namespace horatta::win
