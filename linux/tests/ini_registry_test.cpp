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

// A value as Qt stores a typed one, "@Variant(…)" with the bytes of its data stream.
QByteArray serialised(const QVariant& value) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    QByteArray out = "@Variant(";
    for (const char c : bytes) out += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
    return out + ")";
}

class IniRegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.path() + "/qom";
    const QString path = folder + "/time.ini";
    IniRegistry registry{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};

    std::optional<std::string> read(std::string_view name) {
        return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    void write(std::string_view name, std::string_view value) {
        WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    }
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

TEST_F(IniRegistryTest, NamesAreStoredLowerCasedAndFoundInAnyCase) {
    EXPECT_EQ(read("time"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path)) << "reading creates nothing";
    write("TIME", "21:30:00");
    EXPECT_TRUE(fileBytes(path).contains("time=21:30:00")) << fileBytes(path).toStdString();
    EXPECT_FALSE(fileBytes(path).contains("TIME"));
    EXPECT_EQ(read("Time"), "21:30:00");
}

TEST_F(IniRegistryTest, ANameWrittenByHandInAnotherCaseIsFoundAndThenReplaced) {
    putFile("[General]\nTIME=07:00:00\nTa=600\n");
    EXPECT_EQ(read("time"), "07:00:00");
    write("time", "08:00:00");
    EXPECT_EQ(read("TIME"), "08:00:00");
    EXPECT_FALSE(fileBytes(path).contains("TIME=")) << fileBytes(path).toStdString();
    EXPECT_EQ(read("ta"), "600");
}

TEST_F(IniRegistryTest, TextsComeBackExactly) {
    // Texts that INI quoting and QSettings' lists could change on the way.
    // Those that begin with "@" must never be taken for one of Qt's serialised forms.
    for (const std::string text :
         {"", "  padded  ", "a, b, c", "@at the start", "@Variant(\\0\\0\\0\\x2)", "@ByteArray(abc)", "@@two", "\"quoted\"",
          "semi;colon #hash", "back\\slash", "x\\x41y", "日本語のメモ", "中文备忘 ", "tab\there", "=equals=", "[section]",
          "ctrl\x01\x02" "9", "new\nline"}) {
        write("text", text);
        EXPECT_EQ(read("text"), text) << text;
    }
}

TEST_F(IniRegistryTest, OnlyTextValuesOfTheGeneralSectionCount) {
    putFile("[General]\n"
            "list=one, two\n"
            "number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
            "bytes=@ByteArray(abc)\n"
            "text=" + serialised(QString("hi")) + "\n"
            "plain=11\n"
            "[other]\ntb=900\n");
    for (const char* name : {"list", "number", "bytes", "text", "tb", "other/tb"}) EXPECT_EQ(read(name), std::nullopt) << name;
    EXPECT_EQ(read("plain"), "11");
}

TEST_F(IniRegistryTest, EveryCorruptFileReadsAsMissingValuesAndIsKeptAsideByTheNextWrite) {
    const QByteArray corrupt[] = {
        QByteArray("[General]\nta=600\n\0\0\0\x01garbage", 27),  // binary noise after a torn write
        QByteArray("[General]\nta=600\ntext=\xff\xfe\xfd\n"),      // not UTF-8
    };
    const QString aside[] = {path + ".corrupt", path + ".corrupt.1"};
    for (int i = 0; i < 2; ++i) {
        const QByteArray& bytes = corrupt[i];
        putFile(bytes);
        EXPECT_EQ(read("ta"), std::nullopt) << bytes.toStdString();
        write("time", "00:00:00");
        EXPECT_EQ(read("time"), "00:00:00");
        EXPECT_EQ(read("ta"), std::nullopt) << "nothing from the corrupt file comes back";
    }
    for (int i = 0; i < 2; ++i) EXPECT_EQ(fileBytes(aside[i]), corrupt[i]) << "an earlier copy is never replaced";
}

TEST_F(IniRegistryTest, ABadlyFormedSectionLineIsCorrupt) {
    putFile("[General\nta=600\n");
    EXPECT_EQ(read("ta"), std::nullopt);
    EXPECT_EQ(read("ta"), std::nullopt) << "still corrupt when read again in the same process";
    write("tb", "15");
    EXPECT_TRUE(QFile::exists(path + ".corrupt")) << "set aside, not silently repaired";
    EXPECT_EQ(read("ta"), std::nullopt);
    EXPECT_EQ(read("tb"), "15");
}

TEST_F(IniRegistryTest, AWriteReplacesTheFileInOneStepAndLeavesNothingBehind) {
    write("ta", "600");
    struct stat before{}, after{};
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &before), 0);
    write("tb", "13605");
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "written in place, not replaced";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"time.ini"});
}

TEST_F(IniRegistryTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    QDir().mkpath(folder);
    const struct {
        const char* what;
        std::function<bool()> make;
    } cases[] = {
        {"a FIFO", [&] { return ::mkfifo(path.toLocal8Bit().constData(), 0600) == 0; }},
        {"a link to an endless device", [&] { return QFile::link("/dev/zero", path); }},
        {"a folder", [&] { return QDir().mkdir(path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.make());
        EXPECT_EQ(read("ta"), std::nullopt);
        write("ta", "900");
        const QFileInfo after(path);
        EXPECT_FALSE(after.isFile() && !after.isSymLink()) << "replaced";
        EXPECT_FALSE(QFile::exists(path + ".corrupt"));
        ASSERT_TRUE(QFile::remove(path) || QDir().rmdir(path));
    }
}

TEST_F(IniRegistryTest, ATemporaryFileLeftByAnInterruptedWriteIsRemovedAtTheNextStart) {
    putFile("[General]\nta=600\n");
    for (const char* name : {"time.ini.tmp-a1B2c3", "notes.txt", "time.ini.corrupt"}) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    IniRegistry next{path, HKEY_LOCAL_MACHINE, std::string(settingsPath)};
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"notes.txt", "time.ini", "time.ini.corrupt"}));
    EXPECT_EQ(ReadSetting(next, HKEY_LOCAL_MACHINE, settingsPath, "ta"), "600");
}

// Permissions do not bind the superuser: run as an ordinary user for the length of a test.
class UnwritableTest : public IniRegistryTest {
protected:
    void SetUp() override {
        if (geteuid() != 0) return;
        constexpr uid_t nobody = 65534;
        // Real and effective ids both, since access(2) asks about the real one; the saved
        // id stays the superuser's so the test can return to it.
        if (::chown(dir.path().toLocal8Bit().constData(), nobody, nobody) != 0 ||
            ::setresgid(nobody, nobody, 0) != 0 || ::setresuid(nobody, nobody, 0) != 0)
            GTEST_SKIP() << "cannot take an ordinary user's permissions";
        dropped_ = true;
    }
    void TearDown() override {
        if (dropped_ && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0)) std::abort();
    }
    bool dropped_ = false;
};

TEST_F(UnwritableTest, AFileThatCannotBeWrittenOrReadStaysAsItIs) {
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
}

}  // namespace
}  // namespace horatta::shell
