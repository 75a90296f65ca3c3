#include <gtest/gtest.h>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <QVariant>
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
    void putFile(const QByteArray& bytes) {
        QDir().mkpath(folder);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes(const QString& name) const {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniRegistryTest, NamesInAnyCaseAndTextsComeBackExactlyReplacingTheFileInOneStep) {
    EXPECT_EQ(read("time"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path)) << "reading creates nothing";
    putFile("[General]\nTIME=07:00:00\nTa=600\n");  // written by hand
    EXPECT_EQ(read("time"), "07:00:00");
    struct stat before{}, after{};
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &before), 0);
    write("Time", "08:00:00");
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "written in place, not replaced";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"time.ini"});
    EXPECT_TRUE(fileBytes(path).contains("time=08:00:00") && !fileBytes(path).contains("TIME")) << fileBytes(path).toStdString();
    EXPECT_EQ(read("TA"), "600");
    // Texts that INI quoting and QSettings' lists or serialised forms ("@…") could change.
    for (const std::string text : {"", "  padded  ", "a, b, c", "@at the start", "@Variant(\\0\\0\\0\\x2)", "@ByteArray(abc)",
                                   "\"quoted\"", "semi;colon #hash", "back\\slash", "x\\x41y", "中文备忘 ", "tab\there",
                                   "=equals=", "[section]", "ctrl\x01\x02" "9", "new\nline"}) {
        write("text", text);
        EXPECT_EQ(read("text"), text) << text;
    }
}

TEST_F(IniRegistryTest, OnlyTextValuesOfTheGeneralSectionCount) {
    QByteArray variant;
    QDataStream stream(&variant, QIODevice::WriteOnly);
    stream << QVariant(QString("hi"));
    QByteArray serialised = "@Variant(";
    for (const char c : variant) serialised += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
    putFile("[General]\nlist=one, two\nnumber=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nbytes=@ByteArray(abc)\ntext=" +
            serialised + ")\nplain=11\n[other]\ntb=900\n");
    for (const char* name : {"list", "number", "bytes", "text", "tb", "other/tb"}) EXPECT_EQ(read(name), std::nullopt) << name;
    EXPECT_EQ(read("plain"), "11");
}

TEST_F(IniRegistryTest, ACorruptFileReadsAsMissingValuesAndIsKeptAsideByTheNextWrite) {
    const QByteArray corrupt[] = {
        QByteArray("[General]\nta=600\n\0\0\0\x01garbage", 27),  // binary noise after a torn write
        QByteArray("[General]\nta=600\ntext=\xff\xfe\xfd\n"),      // not UTF-8
        QByteArray("[General\nta=600\n"),                          // a badly formed section
    };
    const QString aside[] = {path + ".corrupt", path + ".corrupt.1", path + ".corrupt.2"};
    for (const QByteArray& bytes : corrupt) {
        putFile(bytes);
        EXPECT_EQ(read("ta"), std::nullopt) << bytes.toStdString();
        EXPECT_EQ(read("ta"), std::nullopt) << "still corrupt when read again";
        write("time", "00:00:00");
        EXPECT_EQ(read("time"), "00:00:00");
        EXPECT_EQ(read("ta"), std::nullopt) << "nothing from the corrupt file comes back";
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(fileBytes(aside[i]), corrupt[i]) << "an earlier copy is never replaced";
}

TEST_F(IniRegistryTest, WhatAnotherProgramStoresBetweenTwoReadsIsSeenByTheSecond) {
    // Each step changes the file behind the registry's back, in the ways other programs do.
    const auto replaceWith = [&](const QByteArray& bytes) {
        QFile f(path + ".new");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
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
        {"after a write of ours", [&] { write("memo", "ours"), putFile("[General]\nmemo=theirs again\n"); },
         "theirs again"},
        {"made corrupt", [&] { putFile("[General\nmemo=x\n"); }, std::nullopt},
        {"removed", [&] { QFile::remove(path); }, std::nullopt},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.how);
        step.change();
        EXPECT_EQ(read("memo"), step.memo);
    }
    putFile("[General]\nmemo=x\nother=kept\n");
    write("memo", "y");
    EXPECT_EQ(read("other"), "kept") << "a write keeps what another program stored before it";
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

TEST_F(IniRegistryTest, ATemporaryFileLeftByAnInterruptedWriteIsRemovedAtTheNextStart) {
    putFile("[General]\nta=600\n");
    for (const char* name : {"time.ini.tmp-a1B2c3", "notes.txt", "time.ini.corrupt"}) QFile(folder + "/" + name).open(QIODevice::WriteOnly);
    IniRegistry next{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"notes.txt", "time.ini", "time.ini.corrupt"}));
    EXPECT_EQ(ReadSetting(next, HKEY_LOCAL_MACHINE, settingsPath, "ta"), "600");
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
