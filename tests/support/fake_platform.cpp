#include "support/fake_platform.h"

#include <array>
#include <chrono>

namespace horatta::testing {

using namespace std::chrono;

std::int64_t toMs(const DateTime& t) {
    const sys_days day{year(t.year) / t.month / t.day};
    return (day.time_since_epoch() + hours(t.hour) + minutes(t.minute) + seconds(t.second) +
            milliseconds(t.millisecond)) / 1ms;
}

DateTime fromMs(std::int64_t ms) {
    const sys_time<milliseconds> moment{milliseconds(ms)};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
            static_cast<int>(time.subseconds().count()), static_cast<int>(weekday(day).c_encoding())};
}

DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    return fromMs(toMs({year, month, day, hour, minute, second, millisecond}));  // fills the weekday
}

std::string FakePlatform::longTimeText(TimeOfDay time) {
    std::array<char, 32> buf{};  // English long time: "9:30:00 PM"
    std::snprintf(buf.data(), buf.size(), "%d:%02d:%02d %s", (time.hour() + 11) % 12 + 1, time.minute(),
                  time.second(), time.hour() < 12 ? "AM" : "PM");
    return buf.data();
}

}  // namespace horatta::testing
