#include "platform/desktop_entry.h"

namespace horatta {

namespace {

// Characters that make an Exec argument need quotes.
constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped with a backslash inside those quotes.
constexpr std::string_view escapedInQuotes = "\"`$\\";

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing past
// the last code point.
bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || text.size() - i < length) return false;
        std::uint32_t code = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        constexpr std::uint32_t smallest[] = {0x80, 0x800, 0x10000};
        if (code < smallest[length - 2] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// Control characters other than those a string value has escapes for.
bool hasUnspellableControl(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t' && c != '\r') || byte == 0x7F) return true;
    }
    return false;
}

}  // namespace

std::string desktopExecArgument(std::string_view argument) {
    const bool quoted = argument.empty() || argument.find_first_of(reserved) != std::string_view::npos;
    std::string out = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && escapedInQuotes.find(c) != std::string_view::npos) out += '\\';
        out += c;
        if (c == '%') out += '%';
    }
    if (quoted) out += '"';
    return out;
}

std::string desktopStringValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    // A value's leading or trailing blank would be taken for the space around "=".
    if (out.starts_with(' ')) out.replace(0, 1, "\\s");
    if (out.ends_with(' ')) out.replace(out.size() - 1, 1, "\\s");
    return out;
}

std::optional<std::string> autostartEntry(std::string_view name, std::string_view comment, std::string_view programPath) {
    if (programPath.empty() || !isUtf8(programPath) || hasUnspellableControl(programPath)) return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + desktopStringValue(name) + "\n"
           "Comment=" + desktopStringValue(comment) + "\n"
           "Exec=" + desktopStringValue(desktopExecArgument(programPath)) + "\n"
           "TryExec=" + desktopStringValue(programPath) + "\n"
           "Icon=horatta\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace horatta
