#include <gtest/gtest.h>

#include "windows/wide.h"

namespace horatta::win {
namespace {

TEST(Wide, PositionsCountASurrogatePairAsOneCharacter) {
    const std::wstring text = widen("a\xF0\x9F\x95\x90" "b");  // a, U+1F550, b: four UTF-16 units
    ASSERT_EQ(text.size(), 4u);
    const std::pair<int, int> positions[] = {{1, 1}, {2, 3}, {3, 4}};  // characters, units
    for (const auto& [characters, units] : positions) {
        EXPECT_EQ(unitsBefore(text, characters), units);
        EXPECT_EQ(charactersBefore(text, units), characters);
    }
    EXPECT_EQ(charactersBefore(text, 99), 3);
    EXPECT_EQ(unitsBefore(text, 99), 4);
}

}  // namespace
}  // namespace horatta::win
