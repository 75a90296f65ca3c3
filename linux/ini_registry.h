#pragma once

#include <QString>
#include <cstdint>
#include <set>
#include <string>

#include "settings/registry.h"

namespace horatta::shell {

// The settings key kept as an INI file through QSettings, shared by both programs.
//
// It serves one key (the clock's own) from one file: the key exists once the file does.
// Value names are stored lower-cased and found whatever their case. Only text values
// count as strings; lists, byte arrays and typed values read with their own types, which
// the settings store ignores. Every write is synced at once and replaces the file
// atomically, so a crash or power cut leaves the old file or the new one, never a torn
// one. A file that cannot be read, or does not parse, reads as having no values; the
// first write then sets it aside as "<name>.corrupt" and starts a clean file. A file
// that cannot be written is left as it is and the write reports failure.
class IniRegistry : public Registry {
public:
    IniRegistry(QString filePath, std::uint32_t root, std::string keyPath);

    // $XDG_CONFIG_HOME/qom/time.ini (~/.config/qom/time.ini when the variable is unset).
    static QString defaultFilePath();

    const QString& filePath() const { return filePath_; }

    Key openKey(std::uint32_t root, std::string_view path) override;
    Key createKey(std::uint32_t root, std::string_view path) override;
    std::optional<RegistryValue> queryValue(Key key, std::string_view name) override;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override;
    void closeKey(Key key) override;

private:
    bool isOurKey(std::uint32_t root, std::string_view path) const;
    // True when the file exists and reads as well-formed INI text.
    bool fileIsSound() const;

    QString filePath_;
    std::uint32_t root_;
    std::string foldedKeyPath_;
    std::set<Key> open_;
    Key nextHandle_ = 1;
};

}  // namespace horatta::shell
