#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <cstdlib>
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
    for (const std::string text : {"", "  padded  ", "a, b, c", "@at the start", "\"quoted\"", "semi;colon #hash",
                                   "back\\slash", "日本語のメモ", "tab\there", "=equals=", "[section]"}) {
        write("text", text);
        EXPECT_EQ(read("text"), text) << text;
    }
}

TEST_F(IniRegistryTest, OnlyTextValuesOfTheGeneralSectionCount) {
    putFile("[General]\n"
            "list=one, two\n"
            "number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
            "bytes=@ByteArray(abc)\n"
            "plain=11\n"
            "[other]\ntb=900\n");
    for (const char* name : {"list", "number", "bytes", "tb", "other/tb"}) EXPECT_EQ(read(name), std::nullopt) << name;
    EXPECT_EQ(read("plain"), "11");
}

TEST_F(IniRegistryTest, ACorruptFileReadsAsMissingValuesAndIsSetAsideByTheNextWrite) {
    const QByteArray corrupt[] = {
        QByteArray("[General]\nta=600\n\0\0\0\x01garbage", 27),  // binary noise after a torn write
        QByteArray("[General]\nta=600\ntext=\xff\xfe\xfd\n"),      // not UTF-8
    };
    for (const QByteArray& bytes : corrupt) {
        putFile(bytes);
        EXPECT_EQ(read("ta"), std::nullopt) << bytes.toStdString();
        write("time", "00:00:00");
        EXPECT_EQ(read("time"), "00:00:00");
        EXPECT_EQ(read("ta"), std::nullopt) << "nothing from the corrupt file comes back";
        EXPECT_EQ(fileBytes(path + ".corrupt"), bytes);
    }
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
