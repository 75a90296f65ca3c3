#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horatta {

// A time of day with one-second resolution. 00:00:00 doubles as "none" for the
// power-off and reminder times, so there is deliberately no separate empty state.
class TimeOfDay {
public:
    constexpr TimeOfDay() = default;
    static constexpr std::optional<TimeOfDay> fromHms(int h, int m, int s) {
        if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return std::nullopt;
        return TimeOfDay(h * 3600 + m * 60 + s);
    }
    // Seconds are reduced modulo one day, as a date-time value keeps only its time part.
    static constexpr TimeOfDay fromSeconds(std::int64_t secondsOfDay) {
        std::int64_t s = secondsOfDay % 86400;
        if (s < 0) s += 86400;
        return TimeOfDay(static_cast<int>(s));
    }
    constexpr int hour() const { return seconds_ / 3600; }
    constexpr int minute() const { return seconds_ / 60 % 60; }
    constexpr int second() const { return seconds_ % 60; }
    constexpr int secondsOfDay() const { return seconds_; }
    constexpr bool isMidnight() const { return seconds_ == 0; }
    constexpr bool operator==(const TimeOfDay&) const = default;
    constexpr auto operator<=>(const TimeOfDay&) const = default;

    // "hh:mm:ss", 24-hour, two digits per field.
    std::string hms() const;

private:
    constexpr explicit TimeOfDay(int s) : seconds_(s) {}
    int seconds_ = 0;
};

// Local calendar date and wall-clock time as the platform reports it.
struct DateTime {
    int year = 2000;
    int month = 1;        // 1..12
    int day = 1;          // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;  // 0..999
    int weekday = 6;      // 0 Sunday .. 6 Saturday

    TimeOfDay timeOfDay() const { return TimeOfDay::fromSeconds(hour * 3600 + minute * 60 + second); }
    // Whole seconds since 1970-01-01 00:00:00 on this local clock, to measure how far the
    // clock moved between two readings.
    std::int64_t localSeconds() const;
    bool operator==(const DateTime&) const = default;
};

// Reads the texts people and the program write for a time or a date: "21:30", "21:30:00",
// "9:30:00 PM", "2026-12-06", "12/6/2026", "2026-12-06 21:30:00". Returns the time part
// (00:00:00 for a date alone), or nothing when the text denotes neither.
std::optional<TimeOfDay> parseTimeOrDate(std::string_view text);

}  // namespace horatta
