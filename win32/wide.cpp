#include "win32/wide.h"

#include "win32/win32.h"

#include <algorithm>

namespace horatta::shell {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int size = static_cast<int>(utf16.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

namespace {
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
}  // namespace

int charactersBefore(std::wstring_view text, int units) {
    const std::size_t end = std::min(text.size(), static_cast<std::size_t>(std::max(units, 0)));
    int characters = 0;
    for (std::size_t i = 0; i < end; ++i)
        if (!(isLowSurrogate(text[i]) && i > 0 && isHighSurrogate(text[i - 1]))) ++characters;
    return characters;
}

int unitsBefore(std::wstring_view text, int characters) {
    int seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLowSurrogate(text[i]) && i > 0 && isHighSurrogate(text[i - 1])) continue;
        if (seen == characters) return static_cast<int>(i);
        ++seen;
    }
    return static_cast<int>(text.size());
}

}  // namespace horatta::shell
