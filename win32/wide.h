#pragma once

#include <string>
#include <string_view>

namespace horatta::shell {

// The core keeps text as UTF-8; Windows' wide-character functions take UTF-16. Invalid
// sequences become U+FFFD rather than being dropped, so no text silently shrinks.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// Between a position counted in UTF-16 units (what edit controls report) and one counted in
// characters (what the core keeps): a surrogate pair is one character.
int charactersBefore(std::wstring_view text, int units);
int unitsBefore(std::wstring_view text, int characters);

}  // namespace horatta::shell
