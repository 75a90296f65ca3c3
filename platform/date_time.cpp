#include "platform/date_time.h"

#include <cctype>
#include <chrono>

namespace horatta {

std::string TimeOfDay::hms() const {
    std::string text;
    for (const int part : {hour(), minute(), second()}) {
        if (!text.empty()) text += ':';
        text += static_cast<char>('0' + part / 10);
        text += static_cast<char>('0' + part % 10);
    }
    return text;
}

std::int64_t DateTime::localSeconds() const {
    using namespace std::chrono;
    const sys_days date = year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
    return date.time_since_epoch().count() * std::int64_t{86400} + timeOfDay().secondsOfDay();
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

bool validDate(int y, int m, int d) {
    using namespace std::chrono;
    return y >= 100 && y <= 9999 &&
           year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}.ok();
}

// "yyyy-mm-dd" or "m/d/yyyy", the cursor on the separator after the first number; leaves the
// cursor after the date.
bool parseDate(Cursor& c, std::optional<int> first) {
    const char separator = c.peek();
    ++c.i;
    const auto middle = c.number(2);
    if (!c.accept(separator)) return false;
    const auto last = c.number(separator == '-' ? 2 : 4);
    if (!first || !middle || !last) return false;
    return separator == '-' ? validDate(*first, *middle, *last) : validDate(*last, *first, *middle);
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
    // A date starts with digits and a date separator.
    Cursor date = c;
    const auto first = date.number(4);
    if (date.peek() == '-' || date.peek() == '/') {
        if (!parseDate(date, first)) return std::nullopt;
        c = date;
        c.skipSpaces();
        c.accept('T');
    }
    TimeOfDay result;
    if (!c.done()) {
        const auto t = parseTime(c);
        if (!t) return std::nullopt;
        result = *t;
    }
    c.skipSpaces();
    if (!c.done()) return std::nullopt;
    return result;
}

}  // namespace horatta
