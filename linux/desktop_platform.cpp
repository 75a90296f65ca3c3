#include "linux/desktop_platform.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QStyleHints>
#include <cmath>

#include "linux/look.h"
#include "linux/system_timer.h"
#include "window/layout.h"

namespace horatta::shell {

QString timeFormatWithoutZone(QString format) {
    // Drop each unquoted run of 't' with the blanks before it (or after it, at the start).
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == 't') {
            while (i + 1 < format.size() && format.at(i + 1) == 't') ++i;
            while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
            if (out.isEmpty())
                while (i + 1 < format.size() && format.at(i + 1).isSpace()) ++i;
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

DesktopPlatform::DesktopPlatform(Registry& registry, SystemServices& services)
    : registry_(registry), services_(services), font_(controlFont()) {}

DateTime DesktopPlatform::now() {
    const std::int64_t ms = SystemTimer::nowMs();
    const std::int64_t second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    // The local date and time of day change only with the second: a scrolling face asks
    // twenty times a second, and each conversion reads the time zone from disk.
    if (second != nowSecond_) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(second);
        const QDate d = local.date();
        const QTime t = local.time();
        nowAtSecond_ = DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0, d.dayOfWeek() % 7};
        nowSecond_ = second;
    }
    DateTime now = nowAtSecond_;
    now.millisecond = static_cast<int>(ms - second * 1000);
    return now;
}

std::string DesktopPlatform::longTimeText(TimeOfDay time) {
    const QLocale locale = QLocale::system();
    const QTime t(time.hour(), time.minute(), time.second());
    return locale.toString(t, timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat))).toStdString();
}

std::string DesktopPlatform::weekdayName(int weekday) {
    return QLocale::system().dayName(weekday == 0 ? 7 : weekday, QLocale::LongFormat).toStdString();
}

std::string DesktopPlatform::monthAbbreviation(int month) {
    return QLocale::system().monthName(month, QLocale::ShortFormat).toStdString();
}

std::optional<TimeOfDay> DesktopPlatform::parseDateOrTime(const std::string& text) {
    // The program's own "hh:mm:ss" and the common forms first, then the system's own.
    if (auto parsed = parseTimeOrDate(text)) return parsed;
    const QLocale locale = QLocale::system();
    const QString q = QString::fromStdString(text).trimmed();
    for (const QString& format : {timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)),
                                  locale.timeFormat(QLocale::ShortFormat)}) {
        const QTime t = locale.toTime(q, format);
        if (t.isValid()) return TimeOfDay::fromHms(t.hour(), t.minute(), t.second());
    }
    for (const QString& format : {locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::LongFormat)}) {
        if (locale.toDate(q, format).isValid()) return TimeOfDay();
    }
    return std::nullopt;
}

int DesktopPlatform::screenWidthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? toTwips(screen->geometry().width()) : 0;
}

int DesktopPlatform::twipsPerPixelX() { return twipsPerPixel; }
int DesktopPlatform::twipsPerPixelY() { return twipsPerPixel; }

std::vector<PixelRect> DesktopPlatform::screens() {
    std::vector<PixelRect> out;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        out.push_back({g.x(), g.y(), g.width(), g.height()});
    }
    return out;
}

float DesktopPlatform::textWidth(const std::string& text) {
    const qreal pixels = QFontMetricsF(font_).horizontalAdvance(QString::fromStdString(text));
    return toTwips(static_cast<int>(std::ceil(pixels)));
}

}  // namespace horatta::shell
