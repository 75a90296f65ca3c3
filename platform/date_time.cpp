#include "platform/date_time.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

namespace horatta {

std::string TimeOfDay::hms() const {
    std::array<char, 16> buf{};
    std::snprintf(buf.data(), buf.size(), "%02d:%02d:%02d", hour(), minute(), second());
    return buf.data();
}

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::int64_t DateTime::localSeconds() const {
    const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return days * 86400 + timeOfDay().secondsOfDay();
}

namespace {

struct Cursor {
    std::string_view s;
    std::size_t i = 0;
    bool done() const { return i >= s.size(); }
    char peek() const { return done() ? '\0' : s[i]; }
    void skipSpaces() {
        while (!done() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    }
    // Up to maxDigits decimal digits; nothing when there is no digit.
    std::optional<int> number(int maxDigits) {
        int value = 0, n = 0;
        while (!done() && n < maxDigits && std::isdigit(static_cast<unsigned char>(s[i]))) {
            value = value * 10 + (s[i] - '0');
            ++i;
            ++n;
        }
        if (n == 0) return std::nullopt;
        return value;
    }
    bool accept(char c) {
        if (peek() != c) return false;
        ++i;
        return true;
    }
};

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool validDate(int y, int m, int d) {
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    int limit = days[static_cast<std::size_t>(m - 1)] + (m == 2 && isLeapYear(y) ? 1 : 0);
    return d <= limit;
}

// "yyyy-mm-dd" or "m/d/yyyy"; leaves the cursor after the date.
bool parseDate(Cursor& c) {
    Cursor probe = c;
    auto first = probe.number(4);
    if (!first) return false;
    if (probe.accept('-')) {
        auto m = probe.number(2);
        if (!m || !probe.accept('-')) return false;
        auto d = probe.number(2);
        if (!d || !validDate(*first, *m, *d)) return false;
    } else if (probe.accept('/')) {
        auto d = probe.number(2);
        if (!d || !probe.accept('/')) return false;
        auto y = probe.number(4);
        if (!y || !validDate(*y, *first, *d)) return false;
    } else {
        return false;
    }
    c = probe;
    return true;
}

std::optional<TimeOfDay> parseTime(Cursor& c) {
    auto h = c.number(2);
    if (!h || !c.accept(':')) return std::nullopt;
    auto m = c.number(2);
    if (!m) return std::nullopt;
    int s = 0;
    if (c.accept(':')) {
        auto sec = c.number(2);
        if (!sec) return std::nullopt;
        s = *sec;
    }
    c.skipSpaces();
    int hour = *h;
    char a = static_cast<char>(std::toupper(static_cast<unsigned char>(c.peek())));
    if (a == 'A' || a == 'P') {
        ++c.i;
        c.accept('.');
        char mChar = static_cast<char>(std::toupper(static_cast<unsigned char>(c.peek())));
        if (mChar != 'M') return std::nullopt;
        ++c.i;
        c.accept('.');
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (a == 'P' ? 12 : 0);
    }
    return TimeOfDay::fromHms(hour, *m, s);
}

}  // namespace

std::optional<TimeOfDay> parseTimeOrDate(std::string_view text) {
    Cursor c{text};
    c.skipSpaces();
    if (c.done()) return std::nullopt;
    TimeOfDay result;
    bool any = false;
    if (parseDate(c)) {
        any = true;
        c.skipSpaces();
        c.accept('T');
    }
    if (!c.done()) {
        auto t = parseTime(c);
        if (!t) return std::nullopt;
        result = *t;
        any = true;
    }
    c.skipSpaces();
    if (!c.done() || !any) return std::nullopt;
    return result;
}

}  // namespace horatta
