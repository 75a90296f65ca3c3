#include "linux/ini_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cctype>

#include "settings/setting_names.h"

namespace horatta::shell {

namespace {

std::string fold(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A settings file is a handful of short lines; anything far larger is not ours.
constexpr qint64 largestSoundFile = 1 << 20;

enum class FileState { Missing, Sound, Unreadable, Corrupt };

FileState fileState(const QString& path) {
    QFile file(path);
    if (!file.exists()) return FileState::Missing;
    if (!file.open(QIODevice::ReadOnly)) return FileState::Unreadable;
    if (file.size() > largestSoundFile) return FileState::Corrupt;
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0')) return FileState::Corrupt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    Q_UNUSED(decoded);
    if (utf8.hasError()) return FileState::Corrupt;
    // QSettings reports a format error only the first time a process parses a file and then
    // serves its cached reading, so the contents it refused are remembered here.
    static QSet<QByteArray> refused;
    if (refused.contains(bytes)) return FileState::Corrupt;
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() == QSettings::FormatError) {
        refused.insert(bytes);
        return FileState::Corrupt;
    }
    return FileState::Sound;
}

// QSettings keeps a change it failed to write and tries it again with the next one, so a
// write that is bound to fail is not handed to it at all.
bool writable(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && folder.isWritable() && (!file.exists() || (file.isFile() && file.isWritable()));
}

bool usableName(std::string_view name) {
    // QSettings reads slashes as groups; no name of ours has one.
    return !name.empty() && name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos;
}

RegistryValue fromVariant(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::QString: return {ValueType::String, value.toString().toStdString()};
        case QMetaType::QStringList: return {ValueType::MultiString, value.toStringList().join(QChar(0)).toStdString()};
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: return {ValueType::Dword, value.toString().toStdString()};
        default: return {ValueType::Binary, value.toByteArray().toStdString()};
    }
}

QVariant toVariant(const RegistryValue& value) {
    const QByteArray bytes = QByteArray::fromStdString(value.bytes);
    switch (value.type) {
        case ValueType::String:
        case ValueType::ExpandString: return QString::fromUtf8(bytes);
        case ValueType::MultiString: return QString::fromUtf8(bytes).split(QChar(0));
        default: return bytes;
    }
}

}  // namespace

IniRegistry::IniRegistry(QString filePath, std::uint32_t root, std::string keyPath)
    : filePath_(std::move(filePath)), root_(root), foldedKeyPath_(fold(keyPath)) {}

QString IniRegistry::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
           QString::fromUtf8(settingsVendor) + "/" + QString::fromUtf8(settingsProduct) + ".ini";
}

bool IniRegistry::isOurKey(std::uint32_t root, std::string_view path) const {
    return root == root_ && fold(path) == foldedKeyPath_;
}

bool IniRegistry::fileIsSound() const { return fileState(filePath_) == FileState::Sound; }

Registry::Key IniRegistry::openKey(std::uint32_t root, std::string_view path) {
    if (!isOurKey(root, path) || !QFileInfo::exists(filePath_)) return 0;
    Key handle = nextHandle_++;
    open_.insert(handle);
    return handle;
}

Registry::Key IniRegistry::createKey(std::uint32_t root, std::string_view path) {
    if (!isOurKey(root, path)) return 0;
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) return 0;
    Key handle = nextHandle_++;
    open_.insert(handle);
    return handle;
}

std::optional<RegistryValue> IniRegistry::queryValue(Key key, std::string_view name) {
    if (!open_.count(key) || !usableName(name) || !fileIsSound()) return std::nullopt;
    QSettings settings(filePath_, QSettings::IniFormat);
    const QString wanted = QString::fromStdString(fold(name));
    // The lower-cased name is ours; another spelling counts only when it is the one there is.
    if (settings.contains(wanted)) return fromVariant(settings.value(wanted));
    for (const QString& stored : settings.childKeys())
        if (stored.toLower() == wanted) return fromVariant(settings.value(stored));
    return std::nullopt;
}

bool IniRegistry::setValue(Key key, std::string_view name, const RegistryValue& value) {
    if (!open_.count(key) || !usableName(name)) return false;
    const FileState state = fileState(filePath_);
    if (state == FileState::Unreadable || !writable(filePath_)) return false;  // not ours to replace blind
    switch (state) {
        case FileState::Unreadable: return false;
        case FileState::Corrupt: {
            // Keep what was there for whoever wants to look, and start clean.
            const QString aside = filePath_ + ".corrupt";
            QFile::remove(aside);
            if (!QFile::rename(filePath_, aside)) return false;
            break;
        }
        case FileState::Missing:
        case FileState::Sound: break;
    }
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setAtomicSyncRequired(true);
    const QString folded = QString::fromStdString(fold(name));
    for (const QString& stored : settings.childKeys())
        if (stored != folded && stored.toLower() == folded) settings.remove(stored);
    settings.setValue(folded, toVariant(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void IniRegistry::closeKey(Key key) { open_.erase(key); }

}  // namespace horatta::shell
