#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <string>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "linux/ini_registry.h"
#include "settings/settings.h"

namespace horatta::shell {
namespace {

class IniRegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.path() + "/qom/time.ini"; }
    IniRegistry registry{path(), HKEY_LOCAL_MACHINE, std::string(settingsPath)};

    std::optional<std::string> read(std::string_view name) {
        return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    void write(std::string_view name, std::string_view value) {
        WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    }
    void putFile(const QByteArray& bytes) {
        QDir().mkpath(dir.path() + "/qom");
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniRegistryTest, NothingStoredReadsAsNoValueAndCreatesNoFile) {
    EXPECT_EQ(read("time"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(IniRegistryTest, WritesCreateTheFolderAndStoreNamesLowerCased) {
    write("TIME", "21:30:00");
    write("time2", "5");
    const QByteArray bytes = fileBytes();
    EXPECT_TRUE(bytes.contains("time=21:30:00")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("time2=5")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains("TIME"));
    EXPECT_EQ(read("time"), "21:30:00");
    EXPECT_EQ(read("Time"), "21:30:00");
}

TEST_F(IniRegistryTest, TextsComeBackExactly) {
    // Texts that INI quoting and QSettings' lists could change on the way.
    const std::string texts[] = {
        "abc", "", "  padded  ", "a, b, c", "@at the start", "\"quoted\"", "semi;colon #hash",
        "back\\slash", "日本語のメモ", "tab\there", "=equals=", "[section]",
    };
    for (const std::string& text : texts) {
        write("text", text);
        EXPECT_EQ(read("text"), text) << text;
    }
}

TEST_F(IniRegistryTest, ANameWrittenByHandInAnotherCaseIsFoundAndThenReplaced) {
    putFile("[General]\nTIME=07:00:00\nTa=600\n");
    EXPECT_EQ(read("time"), "07:00:00");
    EXPECT_EQ(read("ta"), "600");
    write("time", "08:00:00");
    EXPECT_EQ(read("TIME"), "08:00:00");
    EXPECT_FALSE(fileBytes().contains("TIME=")) << fileBytes().toStdString();
    EXPECT_EQ(read("ta"), "600");
}

TEST_F(IniRegistryTest, OnlyTextValuesCount) {
    putFile("[General]\n"
            "list=one, two\n"
            "number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
            "bytes=@ByteArray(abc)\n"
            "plain=11\n");
    EXPECT_EQ(read("list"), std::nullopt);
    EXPECT_EQ(read("number"), std::nullopt);
    EXPECT_EQ(read("bytes"), std::nullopt);
    EXPECT_EQ(read("plain"), "11");
}

TEST_F(IniRegistryTest, ValuesInOtherSectionsAreNotTheKeysValues) {
    putFile("[General]\nta=600\n[other]\ntb=900\n");
    EXPECT_EQ(read("ta"), "600");
    EXPECT_EQ(read("tb"), std::nullopt);
    EXPECT_EQ(read("other/tb"), std::nullopt);
}

TEST_F(IniRegistryTest, ACorruptFileReadsAsMissingValuesAndIsSetAsideByTheNextWrite) {
    const QByteArray corrupt[] = {
        QByteArray("[General]\nta=600\n\0\0\0\x01garbage", 27),  // binary noise after a torn write
        QByteArray("[General]\nta=600\ntext=\xff\xfe\xfd\n"),      // not UTF-8
        QByteArray("\x00\x01\x02ta=600\n[[[\n", 14),
    };
    for (const QByteArray& bytes : corrupt) {
        putFile(bytes);
        EXPECT_EQ(read("ta"), std::nullopt) << bytes.toStdString();
        write("time", "00:00:00");
        EXPECT_EQ(read("time"), "00:00:00");
        EXPECT_EQ(read("ta"), std::nullopt) << "nothing from the corrupt file comes back";
        QFile aside(path() + ".corrupt");
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), bytes);
    }
}

TEST_F(IniRegistryTest, ABadlyFormedSectionLineIsCorrupt) {
    putFile("[General\nta=600\n");
    EXPECT_EQ(read("ta"), std::nullopt);
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

TEST_F(UnwritableTest, AFileThatCannotBeWrittenStaysAsItIs) {
    putFile("[General]\nta=600\n");
    QFile::setPermissions(path(), QFileDevice::ReadOwner);
    write("ta", "900");
    EXPECT_EQ(read("ta"), "600");
    EXPECT_EQ(fileBytes(), QByteArray("[General]\nta=600\n"));
}

TEST_F(UnwritableTest, AFolderThatCannotBeWrittenTakesNoFile) {
    QDir().mkpath(dir.path() + "/qom");
    QFile::setPermissions(dir.path() + "/qom", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    write("ta", "900");
    EXPECT_EQ(read("ta"), std::nullopt);
    EXPECT_FALSE(QFile::exists(path()));
    // A failed write is forgotten, not carried into the next write that succeeds.
    QFile::setPermissions(dir.path() + "/qom", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    write("tb", "100");
    EXPECT_EQ(read("tb"), "100");
    EXPECT_EQ(read("ta"), std::nullopt);
}

TEST_F(UnwritableTest, AnUnreadableFileIsNeitherReadNorReplaced) {
    putFile("[General]\nta=600\n");
    QFile::setPermissions(path(), QFileDevice::WriteOwner);
    EXPECT_EQ(read("ta"), std::nullopt);
    write("tb", "100");
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(), QByteArray("[General]\nta=600\n"));
}

TEST_F(IniRegistryTest, AWriteReplacesTheFileInOneStepAndLeavesNothingBehind) {
    write("ta", "600");
    struct stat before{}, after{};
    ASSERT_EQ(::stat(path().toLocal8Bit().constData(), &before), 0);
    write("tb", "13605");
    ASSERT_EQ(::stat(path().toLocal8Bit().constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "written in place, not replaced";
    const QStringList left = QDir(dir.path() + "/qom").entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"time.ini"});
}

TEST_F(IniRegistryTest, OnlyTheClocksKeyIsServed) {
    EXPECT_EQ(registry.createKey(HKEY_LOCAL_MACHINE, "Software\\other"), 0u);
    EXPECT_EQ(registry.createKey(0x80000001u, settingsPath), 0u);
    const auto key = registry.createKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\QOM\\TIME");
    EXPECT_NE(key, 0u);
    registry.closeKey(key);
}

TEST_F(IniRegistryTest, TheKeyExistsOnceTheFileDoes) {
    EXPECT_EQ(registry.openKey(HKEY_LOCAL_MACHINE, settingsPath), 0u);
    write("t", "1");
    const auto key = registry.openKey(HKEY_LOCAL_MACHINE, settingsPath);
    EXPECT_NE(key, 0u);
    registry.closeKey(key);
}

TEST(IniRegistryPath, FollowsTheConfigurationHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/somewhere");
    EXPECT_EQ(IniRegistry::defaultFilePath(), QString("/tmp/somewhere/qom/time.ini"));
    qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace horatta::shell
