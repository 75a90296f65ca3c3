#include "linux/settings_registry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

#include "linux/ini_text.h"
#include "linux/settings_file.h"

#include "settings/name_fold.h"
#include "settings/setting_names.h"

namespace horatta::shell {

namespace {

using FileState = SettingsRegistry::FileState;
using Loaded = SettingsRegistry::Loaded;

Loaded loaded(settings_file::Contents& file) {
    switch (file.state) {
        case settings_file::State::Missing: return {FileState::Missing, {}};
        case settings_file::State::Unreadable: return {FileState::Unreadable, {}};
        case settings_file::State::TooLarge: return {FileState::Corrupt, {}};
        case settings_file::State::Read: break;
    }
    std::string text = ini::repaired(file.bytes);
    return {text == file.bytes ? FileState::Sound : FileState::Damaged, std::move(text)};
}

// A file the user has made read-only stays as it is, although its folder would let a new
// file take its place.
bool writable(const std::string& path) {
    if (::access(path.c_str(), F_OK) != 0) return true;
    return ::access(path.c_str(), W_OK) == 0;
}

bool usableName(std::string_view name) {
    // The INI format reads a slash in a name as a group and a backslash as a key's path, so such
    // a name would not read back as itself; no name of ours has one.
    return !name.empty() && name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos;
}

}  // namespace

SettingsRegistry::SettingsRegistry(QString filePath, std::uint32_t root, std::string keyPath, std::size_t largest)
    : filePath_(std::move(filePath)), path_(filePath_.toStdString()), largest_(largest), root_(root), foldedKeyPath_(foldName(keyPath)) {
    settings_file::removeLeftovers(path_);
}

QString SettingsRegistry::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
           QString::fromUtf8(settingsVendor) + "/" + QString::fromUtf8(settingsProduct) + ".ini";
}

bool SettingsRegistry::isOurKey(std::uint32_t root, std::string_view path) const {
    return root == root_ && foldName(path) == foldedKeyPath_;
}

const Loaded& SettingsRegistry::current() {
    // One look at the file's status decides whether what was read is still what is there.
    const std::optional<settings_file::Stamp> now = settings_file::stamp(path_);
    if (kept_ && now && kept_->stamp == *now) return kept_->file;
    kept_.reset();
    settings_file::Contents contents = settings_file::read(path_, largest_);
    Loaded file = loaded(contents);
    // What could not be read is tried again each time: it may become readable.
    if (contents.state == settings_file::State::Missing || contents.state == settings_file::State::Unreadable) {
        uncached_ = std::move(file);
        return uncached_;
    }
    kept_ = Kept{contents.stamp, std::move(file)};
    return kept_->file;
}

Registry::Key SettingsRegistry::openKey(std::uint32_t root, std::string_view path) {
    if (!isOurKey(root, path) || !QFileInfo::exists(filePath_)) return 0;
    Key handle = nextHandle_++;
    open_.insert(handle);
    return handle;
}

Registry::Key SettingsRegistry::createKey(std::uint32_t root, std::string_view path) {
    if (!isOurKey(root, path)) return 0;
    if (!settings_file::makeFolder(QFileInfo(filePath_).absolutePath().toStdString())) return 0;
    Key handle = nextHandle_++;
    open_.insert(handle);
    return handle;
}

std::optional<RegistryValue> SettingsRegistry::queryValue(Key key, std::string_view name) {
    if (!open_.count(key) || !usableName(name)) return std::nullopt;
    const Loaded& file = current();
    if (file.state != FileState::Sound && file.state != FileState::Damaged) return std::nullopt;
    auto text = ini::findText(file.text, foldName(name));
    if (!text) return std::nullopt;
    return RegistryValue{ValueType::String, std::move(*text)};
}

bool SettingsRegistry::setValue(Key key, std::string_view name, const RegistryValue& value) {
    return setValues(key, {{name, value}});
}

bool SettingsRegistry::setValues(Key key, const std::vector<NamedValue>& values) {
    if (!open_.count(key)) return false;
    for (const auto& [name, value] : values)
        // Only text is kept: the file holds nothing that reads back as anything else.
        if (!usableName(name) || (value.type != ValueType::String && value.type != ValueType::ExpandString)) return false;
    const Loaded& file = current();
    if (file.state == FileState::Unreadable || !writable(path_)) return false;  // not ours to replace blind
    std::string written = file.text;
    // A text must leave room for every other value, so that those can still be stored.
    const std::size_t headroom = largest_ / 16;
    for (const auto& [name, value] : values) {
        const std::string_view text(value.bytes.data(), std::min(value.bytes.size(), value.bytes.find('\0')));
        if (ini::escaped(text).size() + headroom > largest_) return false;
        written = ini::withText(written, foldName(name), text);
    }
    // What the reader would refuse is never written: the last good file stays.
    if (written.size() > largest_) return false;
    // Keep what was there for whoever wants to look before it changes.
    if ((file.state == FileState::Corrupt || file.state == FileState::Damaged) && !settings_file::setAside(path_)) {
        kept_.reset();
        return false;
    }
    std::optional<settings_file::Stamp> stamp;
    const bool done = settings_file::replace(path_, written, &stamp);
    // What was written is what is there, unless another program has replaced it already.
    if (done && stamp)
        kept_ = Kept{*stamp, {FileState::Sound, std::move(written)}};
    else
        kept_.reset();
    return done;
}

void SettingsRegistry::closeKey(Key key) { open_.erase(key); }

}  // namespace horatta::shell
