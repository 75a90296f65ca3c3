#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace horatta::utf8 {

// Number of characters (code points) in a UTF-8 text.
std::size_t length(std::string_view text);
// Byte offset of the character with the given index; the text's size when past the end.
std::size_t offset(std::string_view text, std::size_t characterIndex);
// The UTF-8 form of one character code.
std::string encode(std::uint32_t code);

}  // namespace horatta::utf8
