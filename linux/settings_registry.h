#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "linux/settings_file.h"
#include "settings/registry.h"

namespace horatta::shell {

// The settings key kept as an INI file, shared by both programs.
//
// It serves one key (the clock's own) from one file: the key exists once the file does.
// Value names are stored lower-cased and found whatever their case. Values are plain text:
// what another program stored in Qt's serialised forms, or as a list, reads as no value.
// Every write reaches the disk and then replaces the file in one step, so a crash or a
// power cut leaves the old file or the new one, never a torn one; a temporary file left by
// a write that was cut short is removed at the next start. A file that cannot be read
// (missing permission, or no regular file at all) reads as having no values and is never
// replaced. A line the reader cannot take costs that line: the rest of the file reads as
// usual. A file with such lines, or one too large to read, is kept whole as "<name>.corrupt"
// (or "<name>.corrupt.1", … when that is taken) before the first write changes it, and that
// write leaves only what could be read. A file that cannot be written is left as it is and
// the write reports failure, as does a write of a file the reader would refuse as too large:
// the last good file stays.
// The file is read once and kept until it changes on disk, so a start-up that reads every
// value opens it once, while what another program stores is still seen at the next read.
class SettingsRegistry : public Registry {
public:
    // A settings file is a handful of lines, the memo the longest of them. The bound is far
    // above any memo a person keeps, so that a long memo is never taken for a corrupt file, yet
    // a runaway file cannot fill the memory.
    static constexpr std::size_t largestFile = std::size_t{64} << 20;

    SettingsRegistry(QString filePath, std::uint32_t root, std::string keyPath, std::size_t largest = largestFile);

    // $XDG_CONFIG_HOME/qom/time.ini (~/.config/qom/time.ini when the variable is unset).
    static QString defaultFilePath();

    const QString& filePath() const { return filePath_; }

    Key openKey(std::uint32_t root, std::string_view path) override;
    Key createKey(std::uint32_t root, std::string_view path) override;
    std::optional<RegistryValue> queryValue(Key key, std::string_view name) override;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override;
    bool setValues(Key key, const std::vector<NamedValue>& values) override;
    void closeKey(Key key) override;

    // Damaged: read without the lines the reader could not take. Corrupt: too large to read.
    enum class FileState { Missing, Sound, Damaged, Unreadable, Corrupt };
    struct Loaded {
        FileState state = FileState::Missing;
        std::string text;
    };

private:
    bool isOurKey(std::uint32_t root, std::string_view path) const;
    // The file as it stands on disk, read again only when it has changed.
    const Loaded& current();
    struct Kept {
        settings_file::Stamp stamp;
        Loaded file;
    };
    std::optional<Kept> kept_;
    Loaded uncached_;
    QString filePath_;
    std::string path_;
    std::size_t largest_;
    std::uint32_t root_;
    std::string foldedKeyPath_;
    std::set<Key> open_;
    Key nextHandle_ = 1;
};

}  // namespace horatta::shell
