#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <cstdarg>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "linux/settings_registry.h"
#include "settings/settings.h"

namespace {
// The flushes and renames the program makes, noted while a test asks; the system does the work.
std::vector<std::string>* noted = nullptr;
std::function<void()> afterRename, beforeOpen;
bool renameFails = false;
std::string named(std::string path) {
    path = path.substr(path.rfind('/') + 1);
    return path.find(".tmp-") == std::string::npos ? path : path.substr(0, path.find(".tmp-") + 4);
}
}  // namespace

extern "C" int fsync(int fd) {
    std::string path(4096, '\0');
    path.resize(std::size_t(std::max<ssize_t>(0, ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path.data(), path.size()))));
    if (noted) noted->push_back("fsync " + named(path));
    return int(::syscall(SYS_fsync, fd));
}

extern "C" int open(const char* path, int flags, ...) {
    va_list more;
    va_start(more, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(more, int)) : 0;
    va_end(more);
    if (noted && !(flags & O_DIRECTORY)) noted->push_back("open " + named(path));
    if (beforeOpen && named(path) == "time.ini") std::exchange(beforeOpen, nullptr)();
    return int(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (noted) noted->push_back("rename " + named(from) + " " + named(to));
    if (renameFails) return errno = EXDEV, -1;
    const int done = ::renameat(AT_FDCWD, from, AT_FDCWD, to);
    if (afterRename) std::exchange(afterRename, nullptr)();
    return done;
}

namespace horatta::shell {
namespace {

class IniRegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.path() + "/qom";
    const QString path = folder + "/time.ini";
    SettingsRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};

    std::optional<std::string> read(std::string_view name, Registry* from = nullptr) {
        return ReadSetting(from ? *from : registry, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    void write(std::string_view name, std::string_view value, Registry* to = nullptr) {
        WriteSetting(to ? *to : registry, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    }
    // Written in place, or replaced in one step as editors do.
    void putFile(const QByteArray& bytes, const QString& name = {}, bool replace = false) {
        QDir().mkpath(folder);
        QFile f(replace ? path + ".new" : name.isEmpty() ? path : name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush());
        ASSERT_TRUE(!replace || ::rename(f.fileName().toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0);
    }
    QByteArray fileBytes(const QString& name) const {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static struct stat statOf(const QString& name) {
        struct stat s{};
        return ::stat(name.toLocal8Bit().constData(), &s), s;
    }
};

TEST_F(IniRegistryTest, OnlyPlainTextsOfTheGeneralSectionCountAndEveryTextComesBackExactly) {
    EXPECT_TRUE(!read("time") && !QFile::exists(path)) << "nothing to read, and reading creates nothing";
    // As QSettings writes them: beyond the basic plane a character is a pair of escapes, and an
    // escape takes at most four hex digits.
    const std::pair<const char*, std::optional<std::string>> values[] = {
        {"TIME=07:00:00", "07:00:00"}, {"Ta=600", "600"}, {"list=one, two", {}}, {"bytes=@ByteArray(abc)", {}},
        {"number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", {}}, {"at=@@at", "@at"}, {"c= plain ; comment", "plain"},
        {"e1=\\xd83d\\xde00", "\xF0\x9F\x98\x80"}, {"e2=a\\xD83D\\xDE00b", "a\xF0\x9F\x98\x80" "b"},
        {"e3=\\xd83dx", "\xEF\xBF\xBDx"}, {"e4=\\xde00\\xd83d", "\xEF\xBF\xBD\xEF\xBF\xBD"}, {"e5=\\xd83d\\x41", "\xEF\xBF\xBD" "A"},
        {"e6=\\x1f\\xaB\\x4e2d\\x41F\\xA9", "\x1f\xC2\xAB\xE4\xB8\xAD\xD0\x9F\xC2\xA9"}, {"e7=\\x10000\\x39", "\xE1\x80\x80" "09"},
        {"e8=\\a\\b\\f\\v\\'\\?\\q\\", "\a\b\f\v'?"}, {"p=@(x)", "@(x)"}, {"d=@a1(x)", "@a1(x)"}, {"# a note", {}},
        {"e9=\\x7f\\x80\\x7ff\\x800\\xd800\\xdc00", "\x7f\xC2\x80\xDF\xBF\xE0\xA0\x80\xF0\x90\x80\x80"}, {"; another", {}},
        {"g\\h=1", {}}, {"q=\"  quoted ; , \"  tail  ", "  quoted ; ,   tail"},
        {"[other]\ntb=900", {}}};
    QByteArray file = "[General]\n";
    for (const auto& [line, value] : values) file += QByteArray(line) + "\n";
    putFile(file);
    // The temporary files of an interrupted write go at the next start; nothing else does.
    const QStringList kept{"notes.txt", "time.ini", "time.ini.corrupt", "time.ini.tmp-a1B2c", "time.ini.tmp-a1B2c3d"};
    for (const QString& name : kept + QStringList{"time.ini.tmp-a1B2c3"})
        if (name != "time.ini") putFile("", folder + "/" + name);
    QDir().mkpath(folder + "/time.ini.tmp-d1r2c3");
    SettingsRegistry restarted{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), kept);
    EXPECT_TRUE(QFileInfo(folder + "/time.ini.tmp-d1r2c3").isDir());
    for (const auto& [line, value] : values)
        EXPECT_EQ(read(QByteArray(line).split('=').front().split('\n').back().toStdString()), value) << line;
    EXPECT_EQ(read("other/tb"), std::nullopt);
    const struct stat before = statOf(path);
    write("Time", "08:00:00");
    EXPECT_TRUE(statOf(path).st_ino != before.st_ino && statOf(path).st_mode == before.st_mode)
        << "replaced in one step, not written in place, and with the user's permissions";
    EXPECT_TRUE(fileBytes(path).contains("time=08:00:00") && !fileBytes(path).contains("TIME")) << fileBytes(path).toStdString();
    EXPECT_EQ(read("ta"), "600") << "a write keeps what another program stored";
    // Texts that INI quoting and QSettings' lists or serialised forms ("@…") could change.
    for (const std::string text : {"", "  padded  ", "a, b, c", "@at the start", "@Variant(\\0\\0\\0\\x2)", "@ByteArray(abc)",
                                   "\"quoted\"", "semi;colon #hash", "back\\slash", "x\\x41y", "中文备忘 ", "tab\there",
                                   "=equals=", "[section]", "ctrl\x01\x10\x1f" "9", "new\nline\r"})
        EXPECT_EQ((write("text", text), read("text")), text) << text;
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), kept);
}

TEST_F(IniRegistryTest, WhatAnotherProgramDoesToTheFileIsSeenAtTheNextRead) {
    const struct { const char* how; std::function<void()> change; std::optional<std::string> memo; } steps[] = {
        {"created", [&] { putFile("[General]\nmemo=first\n"); }, "first"},
        {"written in place", [&] { putFile("[General]\nmemo=second one\n"); }, "second one"},
        {"replaced", [&] { putFile("[General]\nmemo=third and replaced\n", {}, true); }, "third and replaced"},
        {"after a write of ours", [&] { write("memo", "ours"), putFile("[General]\nmemo=theirs again\n"); }, "theirs again"},
        {"replaced just after our write", [&] { afterRename = [&] { putFile("[General]\nmemo=theirs at once\n", {}, true); }, write("memo", "ours"); },
         "theirs at once"},
        {"removed", [&] { QFile::remove(path); }, std::nullopt}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.how);
        step.change();
        std::vector<std::string> calls;
        noted = &calls;
        for (const char* time : {"first", "again"}) EXPECT_EQ(read("memo"), step.memo) << time;
        noted = nullptr;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "open time.ini"), step.memo ? 1 : 0) << "read once until it changes";
    }
}

// Before the first write changes such a file, or one too large to read, it is kept whole beside
// it, never over an earlier copy.
TEST_F(IniRegistryTest, ADamagedLineCostsThatLineAndTheFileIsKeptAsideBeforeItChanges) {
    SettingsRegistry small{path, HKEY_LOCAL_MACHINE, std::string(settingsPath), 1024};
    const struct { const char* how; QByteArray bytes; const char* values /* memo, text, ta, tb as read */, *rewritten; } files[] = {
        {"torn", QByteArrayLiteral("[General]\nmemo=x\nta=1\n\0\0\0\x01garbage"), "x - 1 -", "[General]\nmemo=x\nta=1\ntime=0\n"},
        {"an older editor's memo", "[General]\ntext=caf\xe9 cr\xe8me\r\nmemo=x\n", "x caf\xC3\xA9 cr\xC3\xA8me - -",
         "[General]\ntext=caf\xC3\xA9 cr\xC3\xA8me\r\nmemo=x\ntime=0\n"},
        {"a zero in a line", QByteArrayLiteral("ta=600\ntb=9\0\n[General\ntext=t\n"), "- t 600 -", "ta=600\ntext=t\ntime=0\n"},
        {"a zero its only fault", QByteArrayLiteral("ta=600\ntb=9\0\ntext=t\n"), "- t 600 -", "ta=600\ntext=t\ntime=0\n"},
        {"too large", QByteArray(1025, 'a'), "- - - -", "[General]\ntime=0\n"}};
    QStringList aside;
    for (const auto& file : files) {
        SCOPED_TRACE(file.how);
        putFile(file.bytes);
        std::string values;
        for (const char* name : {"memo", "text", "ta", "tb"}) values += read(name, &small).value_or("-") + " ";
        EXPECT_EQ(values, std::string(file.values) + " ");
        std::vector<std::string> calls;
        noted = &calls, write("time", "0", &small), noted = nullptr;
        EXPECT_EQ(fileBytes(path), file.rewritten);
        aside << path + (aside.isEmpty() ? ".corrupt" : ".corrupt." + QString::number(aside.size()));
        EXPECT_EQ(fileBytes(aside.back()), file.bytes);
        EXPECT_EQ(calls, (std::vector<std::string>{"fsync qom", "fsync time.ini.tmp", "rename time.ini.tmp time.ini", "fsync qom"}))
            << "kept aside for good, then replaced once the new file is on the disk";
    }
}

// The writer never makes what the reader would refuse: a write past the bound leaves the last good file.
TEST_F(IniRegistryTest, AWriteTheReaderWouldRefuseIsRefusedAndSeveralValuesAreOneWrite) {
    const QString fresh = dir.path() + "/new/qom/time.ini";
    SettingsRegistry small{fresh, HKEY_LOCAL_MACHINE, std::string(settingsPath), 16384};
    const std::string longest(16384 - 1024, 'm');
    EXPECT_FALSE((write("text", longest + "m", &small), QFile::exists(fresh))) << "refused";
    write("text", longest, &small);
    std::vector<std::string> calls;
    noted = &calls, WriteSettings(small, HKEY_LOCAL_MACHINE, settingsPath, {{"t9", "1"}, {"t", "2"}, {"ta", "900"}, {"tb", "4500"}});
    noted = nullptr;
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync time.ini.tmp", "rename time.ini.tmp time.ini", "fsync qom"}));
    EXPECT_EQ(fileBytes(fresh), QByteArray::fromStdString("[General]\ntext=" + longest + "\nt9=1\nt=2\nta=900\ntb=4500\n"));
    for (const QString& made : {dir.path() + "/new", dir.path() + "/new/qom", fresh})
        EXPECT_EQ(statOf(made).st_mode & 0477, 0400) << made.toStdString() << " for the user alone";
    // Another program's file right at the bound reads, and no write may make it larger.
    const QByteArray full = "[General]\nta=1\ntext=" + QByteArray(16384 - 21, 'x') + "\n";
    putFile(full, fresh);
    EXPECT_EQ(read("ta", &small), "1");
    EXPECT_EQ((write("ta", "22", &small), fileBytes(fresh)), full);
    EXPECT_EQ((write("ta", "2", &small), read("ta", &small)), "2");
    const auto key = small.createKey(HKEY_LOCAL_MACHINE, settingsPath);
    EXPECT_FALSE(small.setValue(key, "ta", RegistryValue{ValueType::Dword, "1"}) ||
                 small.setValue(key, "a/b", RegistryValue{ValueType::String, "1"})) << "only text, under a name of ours";
    small.closeKey(key);
    EXPECT_EQ((renameFails = true, write("ta", "3", &small), renameFails = false, read("ta", &small)), "2") << "a write that could not replace the file reports so";
    EXPECT_EQ(QDir(dir.path() + "/new/qom").entryList(QDir::Files), QStringList{"time.ini"}) << "and leaves nothing behind";
}

TEST_F(IniRegistryTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    QDir().mkpath(folder);
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"a FIFO", [&] { return ::mkfifo(path.toLocal8Bit().constData(), 0600) == 0; }},
        {"a link to an endless device", [&] { return QFile::link("/dev/zero", path); }},
        {"a folder", [&] { return QDir().mkdir(path); }},
        {"a FIFO swapped in between the look and the opening", [&] {
             putFile("[General]\nta=1\n");
             beforeOpen = [&] { QFile::remove(path), ::mkfifo(path.toLocal8Bit().constData(), 0600); };
             return true;
         }}};
    for (const auto& [what, make] : cases) {
        ASSERT_TRUE(make()) << what;
        EXPECT_EQ(read("ta"), std::nullopt) << what;
        write("ta", "900");
        EXPECT_FALSE((QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) || QFile::exists(path + ".corrupt")) << what << " replaced or kept aside";
        ASSERT_TRUE(QFile::remove(path) || QDir().rmdir(path));
    }
}

// Permissions do not bind the superuser: run as an ordinary user for the length of the test
// (real and effective ids both, as access(2) asks about the real one; the saved id stays).
TEST_F(IniRegistryTest, AFileThatCannotBeWrittenOrReadStaysAsItIs) {
    const bool dropped = geteuid() == 0;
    if (dropped && (::chown(dir.path().toLocal8Bit().constData(), 65534, 65534) != 0 ||
                    ::setresgid(65534, 65534, 0) != 0 || ::setresuid(65534, 65534, 0) != 0))
        GTEST_SKIP() << "cannot take an ordinary user's permissions";
    const QByteArray before("[General]\nta=600\n");
    putFile(before);
    EXPECT_EQ((QFile::setPermissions(path, QFileDevice::ReadOwner), write("ta", "900"), read("ta")), "600");
    EXPECT_EQ((QFile::setPermissions(path, QFileDevice::WriteOwner), read("ta")), std::nullopt);
    write("tb", "100");  // not ours to replace blind
    EXPECT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner) && fileBytes(path) == before);
    if (dropped && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) std::abort();
}

}  // namespace
}  // namespace horatta::shell
