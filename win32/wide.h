#pragma once

#include <string>
#include <string_view>

namespace horatta::shell {

// The core keeps text as UTF-8; Windows' wide-character functions take UTF-16. Invalid
// sequences become U+FFFD rather than being dropped, so no text silently shrinks.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The UTF-16 units of a wide text, as the core's position rule takes them (wchar_t is a
// 16-bit unit here, but a type of its own).
inline std::u16string units(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace horatta::shell
