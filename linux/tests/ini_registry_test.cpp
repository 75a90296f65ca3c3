#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/ini_registry.h"
#include "settings/settings.h"

namespace horatta::shell {
namespace {

class IniRegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.path() + "/qom";
    const QString path = folder + "/time.ini";
    IniRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};

    std::optional<std::string> read(std::string_view name) { return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name); }
    void write(std::string_view name, std::string_view value) { WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, value); }
    void putFile(const QByteArray& bytes, const QString& name = {}) {
        QDir().mkpath(folder);
        QFile f(name.isEmpty() ? path : name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes(const QString& name) const {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ino_t inode() const {
        struct stat s{};
        return ::stat(path.toLocal8Bit().constData(), &s) == 0 ? s.st_ino : 0;
    }
};

TEST_F(IniRegistryTest, OnlyPlainTextsOfTheGeneralSectionCountAndEveryTextComesBackExactly) {
    EXPECT_EQ(read("time"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path)) << "reading creates nothing";
    // Written by hand or by another program, with a temporary file of an interrupted write beside it.
    putFile("[General]\nTIME=07:00:00\nTa=600\nlist=one, two\nnumber=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
            "bytes=@ByteArray(abc)\n[other]\ntb=900\n");
    for (const char* name : {"time.ini.tmp-a1B2c3", "notes.txt", "time.ini.corrupt"}) putFile("", folder + "/" + name);
    IniRegistry restarted{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    const QStringList kept{"notes.txt", "time.ini", "time.ini.corrupt"};
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), kept);
    const std::pair<const char*, std::optional<std::string>> values[] = {
        {"time", "07:00:00"}, {"TA", "600"}, {"list", {}}, {"number", {}}, {"bytes", {}}, {"tb", {}}, {"other/tb", {}}};
    for (const auto& [name, value] : values) EXPECT_EQ(read(name), value) << name;
    const ino_t before = inode();
    write("Time", "08:00:00");
    EXPECT_NE(inode(), before) << "written in place, not replaced in one step";
    EXPECT_TRUE(fileBytes(path).contains("time=08:00:00") && !fileBytes(path).contains("TIME")) << fileBytes(path).toStdString();
    EXPECT_EQ(read("ta"), "600") << "a write keeps what another program stored";
    // Texts that INI quoting and QSettings' lists or serialised forms ("@…") could change.
    for (const std::string text : {"", "  padded  ", "a, b, c", "@at the start", "@Variant(\\0\\0\\0\\x2)", "@ByteArray(abc)",
                                   "\"quoted\"", "semi;colon #hash", "back\\slash", "x\\x41y", "中文备忘 ", "tab\there",
                                   "=equals=", "[section]", "ctrl\x01\x02" "9", "new\nline"}) {
        write("text", text);
        EXPECT_EQ(read("text"), text) << text;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), kept);
}

TEST_F(IniRegistryTest, WhatAnotherProgramDoesToTheFileIsSeenAtTheNextRead) {
    const auto replaceWith = [&](const QByteArray& bytes) {
        putFile(bytes, path + ".new");
        ASSERT_EQ(::rename((path + ".new").toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
    };
    const struct {
        const char* how;
        std::function<void()> change;
        std::optional<std::string> memo;
    } steps[] = {
        {"created", [&] { putFile("[General]\nmemo=first\n"); }, "first"},
        {"written in place", [&] { putFile("[General]\nmemo=second one\n"); }, "second one"},
        {"replaced", [&] { replaceWith("[General]\nmemo=third and replaced\n"); }, "third and replaced"},
        {"after a write of ours", [&] { write("memo", "ours"), putFile("[General]\nmemo=theirs again\n"); }, "theirs again"},
        {"removed", [&] { QFile::remove(path); }, std::nullopt},
        // Torn by a crash, not UTF-8, a badly formed section: each is set aside by our next write.
        {"torn", [&] { putFile(QByteArray("[General]\nmemo=x\n\0\0\0\x01garbage", 27)); }, std::nullopt},
        {"not text", [&] { putFile("[General]\nmemo=x\ntext=\xff\xfe\xfd\n"); }, std::nullopt},
        {"badly formed", [&] { putFile("[General\nmemo=x\n"); }, std::nullopt},
    };
    QStringList aside;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.how);
        step.change();
        const QByteArray bytes = fileBytes(path);
        EXPECT_EQ(read("memo"), step.memo);
        EXPECT_EQ(read("memo"), step.memo) << "read again";
        if (step.memo || bytes.isEmpty()) continue;
        write("time", "00:00:00");
        EXPECT_EQ(read("time"), "00:00:00");
        EXPECT_EQ(read("memo"), std::nullopt) << "nothing from the corrupt file comes back";
        aside << path + (aside.isEmpty() ? ".corrupt" : ".corrupt." + QString::number(aside.size()));
        EXPECT_EQ(fileBytes(aside.back()), bytes) << "an earlier copy is never replaced";
    }
}

TEST_F(IniRegistryTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    QDir().mkpath(folder);
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"a FIFO", [&] { return ::mkfifo(path.toLocal8Bit().constData(), 0600) == 0; }},
        {"a link to an endless device", [&] { return QFile::link("/dev/zero", path); }},
        {"a folder", [&] { return QDir().mkdir(path); }},
    };
    for (const auto& [what, make] : cases) {
        ASSERT_TRUE(make()) << what;
        EXPECT_EQ(read("ta"), std::nullopt) << what;
        write("ta", "900");
        EXPECT_FALSE(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) << what << " replaced";
        EXPECT_FALSE(QFile::exists(path + ".corrupt")) << what;
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
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    write("ta", "900");
    EXPECT_EQ(read("ta"), "600");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    EXPECT_EQ(read("ta"), std::nullopt);
    write("tb", "100");  // not ours to replace blind
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(path), before);
    if (dropped && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) std::abort();
}

}  // namespace
}  // namespace horatta::shell
