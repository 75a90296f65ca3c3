#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <optional>
#include <fcntl.h>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>

#include "linux/settings_registry.h"
#include "settings/settings.h"

// The system fails as a test asks: a full or broken disk, a folder that refuses new names.
namespace {
int linkError = 0, renameError = 0;
bool flushFails = false;
// Failures handed out in turn to the reads of the settings file and the writes of its replacement.
std::deque<int> readErrors, writeErrors;
bool settingsFile(int fd, const char* part) {
    char path[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return n > 0 && std::string(path, std::size_t(n)).find(part) != std::string::npos;
}
ssize_t failed(std::deque<int>& errors) {
    errno = errors.front();
    errors.pop_front();
    return -1;
}
}  // namespace

extern "C" ssize_t read(int fd, void* into, size_t size) {
    if (!readErrors.empty() && settingsFile(fd, "/time.ini")) return failed(readErrors);
    return ::syscall(SYS_read, fd, into, size);
}
extern "C" ssize_t write(int fd, const void* from, size_t size) {
    if (!writeErrors.empty() && settingsFile(fd, "/time.ini.tmp-")) return failed(writeErrors);
    return ::syscall(SYS_write, fd, from, size);
}

extern "C" int link(const char* from, const char* to) noexcept {
    return linkError ? (errno = linkError, -1) : int(::syscall(SYS_linkat, AT_FDCWD, from, AT_FDCWD, to, 0));
}
extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept {
    return renameError ? (errno = renameError, -1) : int(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, flags));
}
extern "C" int fsync(int fd) { return flushFails ? (errno = EIO, -1) : int(::syscall(SYS_fsync, fd)); }

namespace horatta::shell {
namespace {

// The test's settings file, holding these bytes.
QString settingsFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.path() + "/time.ini";
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    return path;
}
std::optional<std::string> ta(SettingsRegistry& registry) { return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, "ta"); }
bool setTa(SettingsRegistry& registry, Registry::Key key, const char* value) {
    return registry.setValue(key, "ta", RegistryValue{ValueType::String, value});
}

// Whatever fails, the write says so and the file, its values and its folder stay as they were.
TEST(SettingsFailures, AWriteThatCannotBeCompletedReportsSoAndLeavesTheFileAsItWas) {
    const struct {
        const char* how;
        QByteArray file;
        int link, rename;
        bool flush;
    } cases[] = {
        {"a damaged file that cannot be kept aside", QByteArray("[General]\nta=1\n\0\x01", 17), EPERM, EPERM, false},
        {"a damaged file whose every name aside is taken", QByteArray("[General]\nta=1\n\0\x01", 17), EEXIST, 0, false},
        {"a new file that cannot reach the disk", "[General]\nta=1\n", 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QTemporaryDir dir;
        const QString path = settingsFile(dir, c.file);
        SettingsRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
        EXPECT_EQ(ta(registry), "1");
        const auto key = registry.createKey(HKEY_LOCAL_MACHINE, settingsPath);
        linkError = c.link, renameError = c.rename, flushFails = c.flush;
        const bool written = setTa(registry, key, "2");
        linkError = renameError = 0, flushFails = false;
        QFile f(path);
        EXPECT_FALSE(written || !f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.file);
        EXPECT_EQ(ta(registry), "1");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"time.ini"});
        EXPECT_TRUE(setTa(registry, key, "2")) << "once the system works again";
        EXPECT_EQ(ta(registry), "2");
    }
}

// A signal may interrupt any read or write; a real failure of either loses nothing.
TEST(SettingsFailures, AnInterruptedReadOrWriteIsTakenUpAndAFailedOneKeepsTheFile) {
    QTemporaryDir dir;
    const QString path = settingsFile(dir, "[General]\nta=1\n");
    SettingsRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    readErrors = {EIO};
    EXPECT_EQ(ta(registry), std::nullopt);
    const auto key = registry.createKey(HKEY_LOCAL_MACHINE, settingsPath);
    readErrors = {EIO};
    EXPECT_FALSE(setTa(registry, key, "2")) << "not ours to replace blind";
    readErrors = {EINTR, EINTR};
    EXPECT_EQ(ta(registry), "1");
    writeErrors = {ENOSPC};
    EXPECT_FALSE(setTa(registry, key, "2"));
    EXPECT_EQ(ta(registry), "1");
    writeErrors = {EINTR};
    EXPECT_TRUE(setTa(registry, key, "3") && readErrors.empty() && writeErrors.empty());
    readErrors.clear(), writeErrors.clear();
    EXPECT_EQ(ta(registry), "3");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"time.ini"});
}

// Started without a standard input, the first file the program opens gets descriptor 0.
TEST(SettingsFailures, AStartWithoutStandardInputReadsTheFileAndRemovesOnlyLeftovers) {
    QTemporaryDir dir;
    const QString path = settingsFile(dir, "[General]\nta=1\n");
    QFile mine(path + ".backup1234");  // as long as a leftover's name, yet the user's own
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    SettingsRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    EXPECT_TRUE(mine.exists());
    const int input = ::dup(0);
    ::close(0);
    const auto value = ta(registry);
    ::dup2(input, 0), ::close(input);
    EXPECT_EQ(value, "1");
}

}  // namespace
}  // namespace horatta::shell
