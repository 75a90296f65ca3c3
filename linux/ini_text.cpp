#include "linux/ini_text.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>
#include <vector>

#include "settings/name_fold.h"
#include "window/utf8.h"

namespace horatta::shell::ini {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (isBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isUtf8(std::string_view text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));  // decodes lazily
    return !utf8.hasError();
}

bool isSurrogate(char32_t c, char32_t first) { return c >= first && c < first + 0x400; }

// Up to four hex digits of an escape, from `i` on.
char32_t hexEscape(std::string_view raw, std::size_t& i) {
    char32_t code = 0;
    for (int digits = 0; i < raw.size() && hexValue(raw[i]) >= 0 && digits < 4; ++digits)
        code = code * 16 + char32_t(hexValue(raw[i++]));
    return code;
}

enum class Kind { Blank, Comment, Section, Value, Malformed };

struct Line {
    Kind kind;
    std::string_view name;  // the section's or the value's
    std::string_view raw;   // the value as it stands after '='
};

Line classify(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return {Kind::Blank, {}, {}};
    if (t.front() == ';' || t.front() == '#') return {Kind::Comment, {}, {}};
    if (t.front() == '[') {
        if (t.back() != ']') return {Kind::Malformed, {}, {}};
        return {Kind::Section, trimmed(t.substr(1, t.size() - 2)), {}};
    }
    const auto equals = t.find('=');
    if (equals == std::string_view::npos) return {Kind::Malformed, {}, {}};
    return {Kind::Value, trimmed(t.substr(0, equals)), t.substr(equals + 1)};
}

std::vector<std::string_view> splitLines(std::string_view file) {
    std::vector<std::string_view> lines;
    while (!file.empty()) {
        const auto end = file.find('\n');
        lines.push_back(file.substr(0, end));
        file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    }
    return lines;
}

bool isGeneral(std::string_view section) { return foldName(section) == "general"; }

}  // namespace

std::string repaired(std::string_view file) {
    if (isUtf8(file) && file.find('\0') == std::string_view::npos &&
        std::ranges::none_of(splitLines(file), [](std::string_view line) { return classify(line).kind == Kind::Malformed; }))
        return std::string(file);
    std::string out;
    for (std::string_view line : splitLines(file)) {
        std::string text;
        if (isUtf8(line)) {
            text = line;
        } else {
            for (const char c : line) text += utf8::encode(static_cast<unsigned char>(c));
        }
        if (text.find('\0') == std::string::npos && classify(text).kind != Kind::Malformed) out += text + '\n';
    }
    return out;
}

std::optional<std::string> findText(std::string_view file, std::string_view foldedName) {
    bool general = true;  // the lines before any section belong to [General]
    for (std::string_view text : splitLines(file)) {
        const Line line = classify(text);
        if (line.kind == Kind::Section) general = isGeneral(line.name);
        if (general && line.kind == Kind::Value && foldName(line.name) == foldedName) return unescaped(line.raw);
    }
    return std::nullopt;
}

std::string withText(std::string_view file, std::string_view foldedName, std::string_view text) {
    const std::string ours = std::string(foldedName) + "=" + escaped(text);
    std::vector<std::string> out;
    bool general = true, replaced = false;
    std::ptrdiff_t endOfGeneral = -1;  // the index after the last line that belongs to [General]
    for (std::string_view text : splitLines(file)) {
        const Line line = classify(text);
        if (line.kind == Kind::Section) general = isGeneral(line.name);
        if (general && line.kind == Kind::Value && foldName(line.name) == foldedName) {
            if (!replaced) out.push_back(ours);
            replaced = true;
        } else {
            out.emplace_back(text);
        }
        if (general && (line.kind == Kind::Value || line.kind == Kind::Section)) endOfGeneral = std::ssize(out);
    }
    if (!replaced && endOfGeneral >= 0) {
        out.insert(out.begin() + endOfGeneral, ours);
    } else if (!replaced) {
        const bool more = !out.empty();
        out.insert(out.begin(), {"[General]", ours});
        if (more) out.insert(out.begin() + 2, "");
    }
    std::string joined;
    for (const std::string& line : out) joined += line + '\n';
    return joined;
}

std::string escaped(std::string_view text) {
    const bool quoted = !text.empty() && (isBlank(text.front()) || isBlank(text.back()) ||
                                          text.find_first_of(",;=#") != std::string_view::npos);
    std::string out = quoted ? "\"" : "";
    if (!text.empty() && text.front() == '@') out += '@';  // "@@" is a plain "@"
    bool afterHexEscape = false;
    static constexpr char hex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const bool digitAfterHex = afterHexEscape && hexValue(c) >= 0;
        afterHexEscape = false;
        switch (c) {
            case '\\': out += "\\\\"; continue;
            case '"': out += "\\\""; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (u < 0x20 || digitAfterHex) {
            // A hex escape runs on through hex digits, so one that follows it is escaped too.
            out += "\\x";
            if (u >= 0x10) out += hex[u >> 4];
            out += hex[u & 0xF];
            afterHexEscape = true;
        } else {
            out += c;
        }
    }
    if (quoted) out += '"';
    return out;
}

std::optional<std::string> unescaped(std::string_view raw) {
    std::string out;
    std::size_t keep = 0;  // what stays once the unquoted blanks at the end are dropped
    bool quoted = false;
    std::size_t i = 0;
    while (i < raw.size() && isBlank(raw[i])) ++i;
    while (i < raw.size()) {
        const char c = raw[i++];
        if (c == '"') {
            quoted = !quoted;
            keep = out.size();
            continue;
        }
        if (c == '\\') {
            if (i == raw.size()) break;
            const char e = raw[i++];
            switch (e) {
                case 'a': out += '\a'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'v': out += '\v'; break;
                case '\\':
                case '"':
                case '\'':
                case '?': out += e; break;
                case 'x': {
                    // Beyond the basic plane a character is two escapes, as QSettings wrote it.
                    char32_t code = hexEscape(raw, i);
                    std::size_t next = i + 2;
                    if (isSurrogate(code, 0xD800) && raw.substr(i, 2) == "\\x") {
                        const char32_t low = hexEscape(raw, next);
                        if (isSurrogate(low, 0xDC00)) code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00), i = next;
                    }
                    out += utf8::encode(isSurrogate(code, 0xD800) || isSurrogate(code, 0xDC00) ? 0xFFFD : code);
                    break;
                }
                default: break;  // an unknown escape stands for nothing
            }
            keep = out.size();
            continue;
        }
        if (!quoted && c == ';') break;  // a comment
        if (!quoted && c == ',') return std::nullopt;  // a list, not a text
        out += c;
        if (quoted || !isBlank(c)) keep = out.size();
    }
    out.resize(keep);
    if (out.starts_with("@@")) return out.substr(1);
    if (out.starts_with('@')) {
        // Qt's serialised forms, "@Type(…)": never decoded here, so not text.
        const auto open = out.find('(');
        if (open != std::string::npos && open > 1 &&
            std::all_of(out.begin() + 1, out.begin() + std::ptrdiff_t(open),
                        [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }))
            return std::nullopt;
    }
    return out;
}

}  // namespace horatta::shell::ini
