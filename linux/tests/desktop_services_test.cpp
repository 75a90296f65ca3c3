#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>

#include "linux/key_mapping.h"
#include "linux/desktop_platform.h"
#include "linux/single_instance.h"
#include "settings/memory_registry.h"

namespace horatta::shell {
namespace {

TEST(KeyMapping, KeysBecomeTheCodesTheHandlersTakeAndAReplacedCodeOnlyAPrintableCharacter) {
    const struct { int key; QString text; std::optional<std::int16_t> code; } cases[] = {
        {Qt::Key_5, "5", std::int16_t{'5'}}, {Qt::Key_Enter, "\r", keyEnter} /* the keypad's */, {Qt::Key_Backspace, "\b", keyBackspace},
        {Qt::Key_Escape, "\x1b", std::int16_t{27}}, {Qt::Key_Eacute, QString(QChar(0xE9)), std::int16_t{0xE9}},
        {Qt::Key_unknown, QString(QChar(0x65E5)), static_cast<std::int16_t>(0x65E5)} /* above 32767: same 16 bits */,
        {Qt::Key_Left, "", std::nullopt}, {Qt::Key_Delete, "\x7f", std::nullopt} /* an edit key, not a character */,
        {Qt::Key_unknown, QString::fromUcs4(U"\U0001F600", 1), std::nullopt} /* no 16-bit code */};
    for (const auto& c : cases) EXPECT_EQ(keyAsciiFor(c.key, c.text), c.code) << c.key;
    EXPECT_EQ(textForKeyAscii(static_cast<std::int16_t>(0x65E5)), QString(QChar(0x65E5)));
    for (std::int16_t code : {std::int16_t{0}, keyRefused, keyEnter}) EXPECT_EQ(textForKeyAscii(code), std::nullopt);
}

TEST(Locale, TheLongTimeFormatLosesOnlyItsTimeZoneAndTimesAreRecognisedAndDaysNamed) {
    const std::pair<const char*, const char*> formats[] = {{"h:mm:ss AP t", "h:mm:ss AP"}, {"t HH:mm:ss", "HH:mm:ss"},
        {"HH:mm:ss tttt", "HH:mm:ss"}, {"H 'h' mm 'at' ss t", "H 'h' mm 'at' ss"} /* a quoted t stays */, {"HH:mm:ss", "HH:mm:ss"}};
    for (const auto& [format, shown] : formats) EXPECT_EQ(timeFormatWithoutZone(format), QString(shown)) << format;
    QLocale::setDefault(QLocale::c());
    MemoryRegistry registry;
    SystemServices services;
    DesktopPlatform platform{registry, services};
    // What the program's own reading refuses, the locale's refuses too.
    for (const char* text : {"not a time", "", "25:00:00"}) EXPECT_EQ(platform.parseDateOrTime(text), std::nullopt) << text;
    // Start-up presets the reminder message this way; applying a reminder relies on
    // recognising it again.
    const auto time = *TimeOfDay::fromHms(21, 5, 9);
    EXPECT_EQ(platform.parseDateOrTime(platform.longTimeText(time)), time) << platform.longTimeText(time);
    // The tool-tip's Sunday is day 0 here and day 7 to Qt.
    EXPECT_EQ(platform.weekdayName(0), "Sunday");
}

// A second clock is refused whatever stands where the lock goes; the settings folder the lock
// makes is the user's alone.
TEST(OneClock, ASecondClockIsRefusedWhateverTakesTheLocksName) {
    const std::pair<const char*, std::function<bool(const QString&)>> places[] = {
        {"nothing", nullptr},
        {"a file", [](const QString& lock) { return QFile(lock).open(QIODevice::WriteOnly); }}, {"a folder", [](const QString& lock) { return QDir().mkdir(lock); }},
        {"a link to nowhere", [](const QString& lock) { return QFile::link(lock + ".gone", lock); }},
        {"a link to a file", [](const QString& lock) { return QFile(lock + ".real").open(QIODevice::WriteOnly) && QFile::link(lock + ".real", lock); }},
        {"a FIFO", [](const QString& lock) { return ::mkfifo(lock.toLocal8Bit().constData(), 0600) == 0; }}};
    for (const auto& [what, make] : places) {
        QTemporaryDir dir;
        const QString settings = dir.path() + "/config/qom/time.ini";
        const bool nothing = !make;  // nor the folders: the lock makes them
        ASSERT_TRUE(nothing || (QDir().mkpath(dir.path() + "/config/qom") && make(settings + ".running"))) << what;
        EXPECT_TRUE(becomeTheOnlyClock(settings)) << what;
        EXPECT_FALSE(becomeTheOnlyClock(settings)) << what << ": a second clock ran";
        for (const char* made : {"/config", "/config/qom"}) {
            struct stat info{};
            EXPECT_TRUE(!nothing || (::stat((dir.path() + made).toLocal8Bit().constData(), &info) == 0 && (info.st_mode & 07777) == 0700)) << made;
        }
    }
}

}  // namespace
}  // namespace horatta::shell
