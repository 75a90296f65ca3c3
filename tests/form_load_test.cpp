#include <gtest/gtest.h>

#include "support/fake_platform.h"
#include "window/form1.h"

namespace horatta {
namespace {

using testing::FakePlatform;

class Startup : public ::testing::TestWithParam<Build> {
protected:
    FakePlatform platform;
    std::unique_ptr<Form1> form;

    Form1& start() {
        form = std::make_unique<Form1>(GetParam(), platform);
        form->Form_Load();
        return *form;
    }
};

INSTANTIATE_TEST_SUITE_P(BothBuilds, Startup, ::testing::Values(Build::Masked, Build::Plain),
                         [](const auto& info) { return info.param == Build::Masked ? "horatta" : "horatta_t"; });

TEST_P(Startup, FirstStartShowsTheRedTimeOnTheGreenSkinAtTheDefaultPlace) {
    Form1& f = start();
    EXPECT_EQ(f.Left, 13605);
    EXPECT_EQ(f.Top, 600);
    EXPECT_EQ(f.Width, 1000);
    EXPECT_EQ(f.Height, 300);
    EXPECT_EQ(f.Label1.caption(), "18:36:16");
    EXPECT_EQ(f.Label1.ForeColor, Color::rgb(255, 0, 0));
    EXPECT_EQ(f.Label3.ForeColor, f.Label1.ForeColor);
    EXPECT_EQ(f.Picture1.Picture, f.Picture8.Picture);
    EXPECT_EQ(f.colorIndex, 0);
    EXPECT_EQ(f.skinIndex, 3);
    EXPECT_EQ(f.Label1.ToolTipText, " Sunday,Dec 6,2026 ");

    EXPECT_EQ(platform.stored("time"), "00:00:00");
    EXPECT_EQ(platform.stored("text"), std::string(defaultMemo)) << "stored as it is, with no added spaces";
    EXPECT_FALSE(platform.stored("time2")) << "the restore writes nothing back";
    EXPECT_FALSE(platform.stored("time3"));
    EXPECT_EQ(f.Text2.Text, defaultMemo);

    EXPECT_TRUE(f.shutdownTime.isMidnight()) << "no power-off armed";
    EXPECT_EQ(f.shutdownField().text(), "00:00:00");
    EXPECT_EQ(f.Text1.Text, "6:36:16 PM") << "the reminder message starts as the time in the long format";
    EXPECT_EQ(f.scrollOn, 0);
    EXPECT_EQ(f.focus(), ControlId::Picture1);
}

TEST_P(Startup, FirstStartTalksToTheSystemInOrder) {
    platform.store("other", "x");  // a key that exists, so that every read reaches it
    platform.memory.accesses.clear();
    start();
    // The three stored texts are read before the missing time is written.
    const std::vector<std::string> settings{
        "read ta",   "read tb",    "read time", "read time2", "read time3", "write time",
        "read t",    "read text",  "read t9",   "write text",
    };
    EXPECT_EQ(platform.memory.accesses, settings);
    const std::vector<std::string> expected{
        "setHotKey Form2 1626", "showWindow Form2", "showWindow Form1",
        "makeTopmost Form1",
    };
    EXPECT_EQ(platform.calls, expected);
    ASSERT_NE(form->form2(), nullptr);
    EXPECT_TRUE(form->form2()->Visible);
}

struct Stored {
    std::vector<std::pair<std::string, std::string>> values;
    std::string caption;  // "time" for the current time
    int scrollOn;
};

TEST_P(Startup, FaceAndScrollModeFollowWhatItShowedAtExit) {
    const Stored cases[] = {
        {{{"t", "2"}, {"t9", "1"}, {"text", "shopping"}}, "shopping", 1},
        {{{"t", "1"}, {"t9", "1"}, {"text", "shopping"}}, "time", 1},
        {{{"t", "2"}, {"t9", "0"}, {"text", "shopping"}}, "time", 0},
        {{{"t", "2"}, {"t9", "1"}, {"text", ""}}, "time", 1},
        {{{"t", "2"}, {"t9", "1"}}, "time", 1},
        {{{"t", "2"}, {"t9", "2"}, {"text", "shopping"}}, "time", 2},
    };
    for (const auto& c : cases) {
        platform = FakePlatform();
        for (const auto& [name, value] : c.values) platform.store(name, value);
        Form1& f = start();
        EXPECT_EQ(f.Label1.caption(), c.caption == "time" ? "18:36:16" : c.caption);
        EXPECT_EQ(f.scrollOn, c.scrollOn);
    }
}

TEST_P(Startup, AStoredMemoComesBackWithoutPaddingAndAnEmptyOneGetsTheDefault) {
    platform.store("text", "abc   ");
    EXPECT_EQ(start().Text2.Text, "abc");
    EXPECT_EQ(platform.stored("text"), "abc   ") << "reading does not rewrite the stored memo";

    platform = FakePlatform();
    platform.store("text", "");
    EXPECT_EQ(start().Text2.Text, defaultMemo);
    EXPECT_EQ(platform.stored("text"), std::string(defaultMemo));

    platform = FakePlatform();
    platform.store("text", "   ");
    EXPECT_EQ(start().Text2.Text, "   ") << "a memo of blanks is what the user stored";
    EXPECT_EQ(platform.stored("text"), "   ");
}

TEST_P(Startup, AStoredPowerOffTimeIsArmedAgain) {
    for (const char* stored : {"21:30:00", "9:30:00 PM", "21:30"}) {
        platform = FakePlatform();
        platform.store("time", stored);
        Form1& f = start();
        EXPECT_EQ(f.shutdownField().text(), "21:30:00") << stored;
        EXPECT_EQ(f.Label2.caption(), "21:30:00") << stored;
        EXPECT_EQ(f.shutdownTime, *TimeOfDay::fromHms(21, 30, 0)) << stored;
        EXPECT_EQ(platform.stored("time"), stored) << "an existing value is not rewritten";
    }
}

TEST_P(Startup, StoredColourAndSkinAreRestoredOneStepBehindTheIndexes) {
    struct Case {
        const char* color;
        const char* skin;
        Color shown;
        int colorIndex;
        Image skinShown;
        int skinIndex;
    };
    const Case cases[] = {
        {"5", "0", Color::rgb(0, 111, 111), 6, Image::Skin4, 1},
        {"11", "7", Color::rgb(255, 0, 0), 0, Image::Skin7, 0},
        {"10", "6", Color::rgb(0, 0, 1), 11, Image::None, 7},
        {"0", "1", Color::rgb(0, 255, 0), 1, Image::Skin3, 2},
        // Outside the tables: the design colour and skin stay, the index still advances.
        {"12", "8", Color::rgb(255, 0, 0), 13, Image::Skin8, 9},
        {"-1", "-3", Color::rgb(255, 0, 0), 0, Image::Skin8, -2},
        {"32767", "32767", Color::rgb(255, 0, 0), 0, Image::Skin8, 0},
    };
    for (const auto& c : cases) {
        platform = FakePlatform();
        platform.store("time2", c.color);
        platform.store("time3", c.skin);
        Form1& f = start();
        EXPECT_EQ(f.Label1.ForeColor, c.shown) << c.color;
        EXPECT_EQ(f.Label3.ForeColor, c.shown) << c.color;
        EXPECT_EQ(f.colorIndex, c.colorIndex) << c.color;
        EXPECT_EQ(f.Picture1.Picture, c.skinShown) << c.skin;
        EXPECT_EQ(f.skinIndex, c.skinIndex) << c.skin;
    }
}

TEST_P(Startup, DamagedValuesFallBackToTheirDefaults) {
    const std::pair<const char*, const char*> damaged[] = {
        {"time2", "abc"}, {"time2", "99999"}, {"time2", "1e9"}, {"time3", "x"}, {"time3", "70000"},
        {"t", "yes"},     {"t9", "zz"},       {"t9", "123456"}, {"time", "later"}, {"time", "25:00:00"},
        {"ta", "top"},    {"ta", "1e40"},     {"ta", "-"},
    };
    for (const auto& [name, value] : damaged) {
        platform = FakePlatform();
        platform.store(name, value);
        Form1& f = start();
        EXPECT_EQ(f.Label1.ForeColor, Color::rgb(255, 0, 0)) << name << "=" << value;
        EXPECT_EQ(f.colorIndex, 0) << name << "=" << value;
        EXPECT_EQ(f.Picture1.Picture, Image::Skin8) << name << "=" << value;
        EXPECT_EQ(f.skinIndex, 3) << name << "=" << value;
        EXPECT_EQ(f.scrollOn, 0) << name << "=" << value;
        EXPECT_EQ(f.savedLabelMode, 0) << name << "=" << value;
        EXPECT_TRUE(f.shutdownTime.isMidnight()) << name << "=" << value;
        EXPECT_EQ(f.shutdownField().text(), "00:00:00") << name << "=" << value;
        EXPECT_EQ(f.Left, 13605) << name << "=" << value;
        EXPECT_EQ(f.Top, 600) << name << "=" << value;
    }
}

// A stored or default position is honoured exactly while the whole strip lies on some
// screen; otherwise the strip moves onto the nearest screen, so it is never lost.
TEST_P(Startup, TheStripComesUpWhereItWasUnlessThatIsOffEveryScreen) {
    const std::vector<PixelRect> one{{0, 0, 1920, 1080}};
    const std::vector<PixelRect> three{{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}, {1920, -200, 1280, 1024}};
    struct Case {
        int screenWidth;
        std::vector<PixelRect> screens;
        const char* top;
        const char* left;
        float expectTop, expectLeft;
    };
    const Case cases[] = {
        {1920, one, "0", "0", 0, 0},               // "0" is a position, not a missing one
        {1920, one, "1500", nullptr, 1500, 0},     // a top without a left: the left edge
        {1920, one, "1500", "nowhere", 1500, 0},
        {1920, one, "4500.5", "7000", 4500.5f, 7000},
        {1920, one, " 600 ", "27800", 600, 27800},  // the right edge of the screen, exactly
        {800, {{0, 0, 800, 600}}, nullptr, nullptr, 660, 10200},
        {640, {{0, 0, 640, 480}}, nullptr, nullptr, 600, 640 * 15 - 1000},  // the default lies beyond the edge
        {1920, one, "900", "40000", 900, 1920 * 15 - 1000},  // on a monitor that is no longer there
        {1920, one, "-5000", "-99999999", 0, 0},
        {1920, three, "300", "-9000", 300, -9000},  // every monitor still there keeps its strip
        {1920, three, "-2500", "30000", -2500, 30000},
        {1920, three, "300", "28500", 300, 1920 * 15},  // straddling two: onto the one it overlaps most
        // A monitor being plugged in reports no size: it is never the nearest.
        {1920, {{0, 0, 1920, 1080}, {2700, 0, 0, 0}}, "900", "40000", 900, 1920 * 15 - 1000},
        {1920, {{0, 0, 0, 0}}, "900", "40000", 900, 40000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.top ? c.top : "default") + " / " + (c.left ? c.left : "none"));
        platform = FakePlatform();
        platform.screenWidthPixels = c.screenWidth;
        platform.screenRects = c.screens;
        if (c.top) platform.store("ta", c.top);
        if (c.left) platform.store("tb", c.left);
        Form1& f = start();
        EXPECT_EQ(f.Top, c.expectTop);
        EXPECT_EQ(f.Left, c.expectLeft);
    }
}

TEST(Controls, AnAutoSizedLabelFollowsItsCaption) {
    Label l;
    l.setMeasure([](const std::string& s) { return static_cast<float>(s.size()) * 10; });
    l.Width = 285;
    l.setCaption("12:00:00");
    EXPECT_EQ(l.Width, 285) << "AutoSize off keeps the width";
    l.setAutoSize(true);
    EXPECT_EQ(l.Width, 80) << "switching AutoSize on fits the caption at once";
    l.setCaption("a much longer reminder");
    EXPECT_EQ(l.Width, 220);
    l.setAutoSize(false);
    l.Width = 995;
    l.setCaption("x");
    EXPECT_EQ(l.Width, 995);
}

TEST(Controls, ATimerTellsItsObserverOfEveryChange) {
    Timer t(true, 1000);
    int changes = 0;
    t.setObserver([&] { ++changes; });
    t.setInterval(1000);
    t.setEnabled(true);
    EXPECT_EQ(changes, 0) << "setting the same value is no change";
    t.setInterval(50);
    t.setEnabled(false);
    t.setEnabled(true);
    EXPECT_EQ(changes, 3);
}

}  // namespace
}  // namespace horatta
