#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horatta::shell::ini {

// The settings file's text, read and edited as plain text only. Values are written the way
// Qt's INI format writes strings (so a file written by an earlier version reads the same,
// and one written here reads the same in QSettings), but nothing is ever decoded beyond
// text: a value in one of Qt's serialised forms ("@Variant(…)", "@ByteArray(…)"), or a
// list, is simply no text. Only the [General] section (and the lines before any section)
// holds the clock's values; every other line is kept as it is.

// The file as the reader takes it, line by line: a line that is not UTF-8 is read as Latin-1
// (as older editors wrote it); one holding a NUL byte, a section line without its closing
// bracket and a line that is neither a section, a value nor a comment are dropped. A file as
// an INI writer makes it comes back byte for byte.
std::string repaired(std::string_view file);

// The text of the [General] value whose name, lower-cased, is the given lower-case name.
std::optional<std::string> findText(std::string_view file, std::string_view foldedName);

// The file with the value set to the text: the first line of that name (in any case) is
// replaced, further ones are removed, and a new value goes at the end of [General].
std::string withText(std::string_view file, std::string_view foldedName, std::string_view text);

// One value as it stands after "name=", and back.
std::string escaped(std::string_view text);
std::optional<std::string> unescaped(std::string_view raw);

}  // namespace horatta::shell::ini
