#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop_entry.h"

namespace horatta {
namespace {

// A reader's side of a string value's escapes.
std::optional<std::string> unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') { text += value[i]; continue; }
        switch (++i == value.size() ? '\0' : value[i]) {
            case 's': text += ' '; break;
            case 'n': text += '\n'; break;
            case 't': text += '\t'; break;
            case 'r': text += '\r'; break;
            case '\\': text += '\\'; break;
            default: return std::nullopt;
        }
    }
    return text;
}

// Then the Exec key's arguments, quoted or not. Nothing when the line breaks a rule a session
// keeps.
std::optional<std::vector<std::string>> execArguments(std::string_view value) {
    const std::optional<std::string> unescapedText = unescaped(value);
    if (!unescapedText) return std::nullopt;
    const std::string& text = *unescapedText;
    std::vector<std::string> arguments;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') { ++i; continue; }
        std::string argument;
        const bool quoted = text[i] == '"';
        for (i += quoted; i < text.size() && (quoted ? text[i] != '"' : text[i] != ' '); ++i) {
            char c = text[i];
            if (quoted && c == '\\') {
                if (++i == text.size() || std::string_view("\"`$\\").find(text[i]) == std::string_view::npos) return std::nullopt;
                c = text[i];
            } else if (!quoted && std::string_view("\t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) {
                return std::nullopt;
            } else if (c == '%') {
                if (++i == text.size() || text[i] != '%') return std::nullopt;  // a field code
            }
            argument += c;
        }
        if (quoted && i++ == text.size()) return std::nullopt;  // never closed
        arguments.push_back(argument);
    }
    return arguments;
}

std::string valueOf(const std::string& entry, const std::string& key) {
    const std::size_t at = entry.find("\n" + key + "=");
    if (at == std::string::npos) return "(missing)";
    const std::size_t start = at + key.size() + 2;
    return entry.substr(start, entry.find('\n', start) - start);
}

// Awkward program paths: each Exec line reads back as that one path, and TryExec names it.
TEST(AutostartEntry, ExecReadsBackAsTheProgramsPathWhateverItHolds) {
    const struct {
        const char* path;
        const char* exec;  // as written, when it is worth spelling out
    } rows[] = {
        {"/usr/bin/horatta", "/usr/bin/horatta"},
        {"/home/u/my clock/horatta", "\"/home/u/my clock/horatta\""},
        {"/tmp/a\"b/horatta", "\"/tmp/a\\\\\"b/horatta\""},
        {"/tmp/$HOME/horatta", "\"/tmp/\\\\$HOME/horatta\""},
        {"/tmp/100%/horatta", "/tmp/100%%/horatta"},
        {"/tmp/back\\slash/horatta", "\"/tmp/back\\\\\\\\slash/horatta\""},
        {"/tmp/`tick`/50% \"x\"/horatta", "\"/tmp/\\\\`tick\\\\`/50%% \\\\\"x\\\\\"/horatta\""},
        {"/tmp/çà et là/horatta", nullptr}, {"/tmp/it's;(x)|y&z/h*?#~<>", nullptr},
        {"/tmp/tab\there/new\nline/horatta", nullptr}, {"/tmp/end space /horatta ", nullptr},
        {"/tmp/%u %f/horatta", nullptr}, {"/tmp/a=b[c]/horatta", nullptr},
    };
    for (const auto& row : rows) {
        const std::optional<std::string> entry = autostartEntry("horatta", "A clock", row.path);
        ASSERT_TRUE(entry) << row.path;
        const std::string exec = valueOf(*entry, "Exec");
        if (row.exec) {
            EXPECT_EQ(exec, row.exec) << row.path;
        }
        EXPECT_EQ(execArguments(exec), std::vector<std::string>{row.path}) << exec;
        const std::string tryExec = valueOf(*entry, "TryExec");
        EXPECT_EQ(unescaped(tryExec), row.path) << tryExec;
        EXPECT_TRUE(entry->starts_with("[Desktop Entry]\nType=Application\nName=horatta\n")) << *entry;
    }
    EXPECT_EQ(desktopStringValue(" a\\b\tc\nd\re "), "\\sa\\\\b\\tc\\nd\\re\\s");
}

// An entry the session would refuse or misread is not written: the caller says so instead.
TEST(AutostartEntry, APathNoEntryCanHoldGivesNoEntry) {
    // Not UTF-8: a stray or missing continuation byte, overlong forms, a surrogate, past the
    // last code point; then control characters no escape spells.
    const std::string refused[] = {"", "/tmp/\xff/horatta", "\x80horatta", "/tmp/\xc3/horatta", "/tmp/\xe2\x28\xa1",
                                   "/tmp/\xc0\xaf/horatta", "/tmp/\xe0\x9f\xbf", "/tmp/\xf0\x8f\xbf\xbf",
                                   "/tmp/\xed\xa0\x80/horatta", "/tmp/\xf4\x90\x80\x80", "/tmp/bell\a",
                                   std::string("/tmp/nul\0x", 10), "/tmp/del\x7f"};
    for (const std::string& path : refused) EXPECT_FALSE(autostartEntry("horatta", "A clock", path)) << path;
    for (const char* path : {"/tmp/\xc2\x80", "/tmp/\xef\xbf\xbf", "/tmp/\xf0\x9f\x95\x90", "/tmp/\xf4\x8f\xbf\xbf", "/tmp/\x7e"})
        EXPECT_TRUE(autostartEntry("horatta", "A clock", path)) << path;
}

}  // namespace
}  // namespace horatta
