#include <gtest/gtest.h>

#include <QLocale>

#include "linux/qt_platform.h"
#include "settings/memory_registry.h"

namespace horatta::shell {
namespace {

TEST(Locale, TheLongTimeFormatLosesOnlyItsTimeZone) {
    const std::pair<const char*, const char*> formats[] = {
        {"h:mm:ss AP t", "h:mm:ss AP"}, {"t HH:mm:ss", "HH:mm:ss"}, {"HH:mm:ss tttt", "HH:mm:ss"},
        {"H 'h' mm 'at' ss t", "H 'h' mm 'at' ss"},  // a quoted t stays
        {"HH:mm:ss", "HH:mm:ss"},
    };
    for (const auto& [format, shown] : formats) EXPECT_EQ(timeFormatWithoutZone(format), QString(shown)) << format;
}

TEST(Locale, TimesAndDatesAreRecognisedAndDaysNamed) {
    QLocale::setDefault(QLocale::c());
    MemoryRegistry registry;
    SystemServices services;
    QtPlatform platform{registry, services};
    const std::pair<const char*, std::optional<TimeOfDay>> cases[] = {
        {"21:30:00", TimeOfDay::fromHms(21, 30, 0)},
        {"7:05", TimeOfDay::fromHms(7, 5, 0)},
        {"2026-12-06", TimeOfDay()},
        {"not a time", std::nullopt},
        {"", std::nullopt},
        {"25:00:00", std::nullopt},
    };
    for (const auto& [text, time] : cases) EXPECT_EQ(platform.parseDateOrTime(text), time) << text;
    // Start-up presets the reminder message this way; applying a reminder relies on
    // recognising it again.
    const auto time = *TimeOfDay::fromHms(21, 5, 9);
    EXPECT_EQ(platform.parseDateOrTime(platform.longTimeText(time)), time) << platform.longTimeText(time);
    // The tool-tip's Sunday is day 0 here and day 7 to Qt.
    EXPECT_FALSE(platform.weekdayName(0).empty());
    EXPECT_NE(platform.weekdayName(0), platform.weekdayName(1));
}

}  // namespace
}  // namespace horatta::shell
