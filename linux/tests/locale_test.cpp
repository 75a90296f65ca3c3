#include <gtest/gtest.h>

#include <QLocale>

#include "linux/qt_platform.h"
#include "settings/memory_registry.h"

namespace horatta::shell {
namespace {

TEST(Locale, TheLongTimeFormatLosesOnlyItsTimeZone) {
    EXPECT_EQ(timeFormatWithoutZone("h:mm:ss AP t"), QString("h:mm:ss AP"));
    EXPECT_EQ(timeFormatWithoutZone("HH:mm:ss t"), QString("HH:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZone("t HH:mm:ss"), QString("HH:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZone("HH:mm:ss tttt"), QString("HH:mm:ss"));
    EXPECT_EQ(timeFormatWithoutZone("H 'h' mm 'at' ss t"), QString("H 'h' mm 'at' ss"));  // quoted t stays
    EXPECT_EQ(timeFormatWithoutZone("HH:mm:ss"), QString("HH:mm:ss"));
}

class PlatformLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    MemoryRegistry registry;
    SystemServices services;
    QtPlatform platform{registry, services};
};

TEST_F(PlatformLocale, TimesAndDatesAreRecognised) {
    struct Case {
        const char* text;
        std::optional<TimeOfDay> time;
    } cases[] = {
        {"21:30:00", TimeOfDay::fromHms(21, 30, 0)},
        {"7:05", TimeOfDay::fromHms(7, 5, 0)},
        {"2026-12-06", TimeOfDay()},
        {"not a time", std::nullopt},
        {"", std::nullopt},
        {"25:00:00", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(platform.parseDateOrTime(c.text), c.time) << c.text;
}

TEST_F(PlatformLocale, TheLongTimeTextReadsBackAsTheSameTime) {
    // Start-up presets the reminder message this way; applying a reminder relies on
    // recognising it again.
    const auto time = *TimeOfDay::fromHms(21, 5, 9);
    EXPECT_EQ(platform.parseDateOrTime(platform.longTimeText(time)), time) << platform.longTimeText(time);
}

TEST_F(PlatformLocale, NamesForTheToolTip) {
    EXPECT_FALSE(platform.weekdayName(0).empty());
    EXPECT_NE(platform.weekdayName(0), platform.weekdayName(1));
    EXPECT_FALSE(platform.monthAbbreviation(12).empty());
}

}  // namespace
}  // namespace horatta::shell
