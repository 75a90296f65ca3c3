#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace horatta {
namespace {

TEST(TimeOfDay, FormatsAsTwoDigitFields) {
    EXPECT_EQ(TimeOfDay::fromHms(9, 5, 7)->hms(), "09:05:07");
    EXPECT_EQ(TimeOfDay::fromHms(23, 59, 59)->hms(), "23:59:59");
    EXPECT_EQ(TimeOfDay().hms(), "00:00:00");
    EXPECT_FALSE(TimeOfDay::fromHms(24, 0, 0));
    EXPECT_FALSE(TimeOfDay::fromHms(12, 60, 0));
    EXPECT_EQ(TimeOfDay::fromSeconds(-1).hms(), "23:59:59");
    EXPECT_EQ(TimeOfDay::fromSeconds(86400 + 61).hms(), "00:01:01");
}

TEST(TimeOrDateText, ReadsTimesDatesAndBoth) {
    struct Case {
        const char* text;
        std::optional<const char*> time;
    };
    const Case cases[] = {
        {"21:30:00", "21:30:00"},   {"21:30", "21:30:00"},        {"7:05:09", "07:05:09"},
        {"9:30:00 PM", "21:30:00"}, {"12:00:00 AM", "00:00:00"},  {"12:15 pm", "12:15:00"},
        {" 06:00:00 ", "06:00:00"}, {"2026-12-06", "00:00:00"},   {"12/6/2026", "00:00:00"},
        {"2026-12-06 08:09:10", "08:09:10"}, {"2026-12-06T08:09", "08:09:00"},
        {"", {}},                   {"  :  :  ", {}},             {"12:3 :45", {}},
        {"24:00:00", {}},           {"12:60:00", {}},             {"13:00 PM", {}},
        {"abc", {}},                {"12", {}},                   {"2026-02-30", {}},
        {"12:30:45x", {}},          {"Text3", {}},                {"1:2:3:4", {}},
    };
    for (const auto& c : cases) {
        auto parsed = parseTimeOrDate(c.text);
        if (c.time) {
            ASSERT_TRUE(parsed) << '"' << c.text << '"';
            EXPECT_EQ(parsed->hms(), *c.time) << '"' << c.text << '"';
        } else {
            EXPECT_FALSE(parsed) << '"' << c.text << '"';
        }
    }
}

}  // namespace
}  // namespace horatta
