#include <ostream>

#include "support/simulator.h"

namespace horatta::testing {
namespace {

// What a start at 18:36:16 makes of stored values; the defaults are a first start's (red time,
// colour and skin one step ahead of their defaults, no power-off, the default memo).
struct Restored {
    std::string caption = "18:36:16";
    std::int16_t scrollOn = 0;
    Color colour = Color::rgb(255, 0, 0);
    std::int16_t colorIndex = (defaultColorIndex + 1) % colorCount;
    Image skin = Image::Skin8;
    std::int16_t skinIndex = (defaultSkinIndex + 1) % skinCount;
    std::string shutdownTime = "00:00:00", shutdownField = "00:00:00";
    std::string memo{defaultMemo};
    bool operator==(const Restored&) const = default;
};

void PrintTo(const Restored& r, std::ostream* out) {
    *out << "caption \"" << r.caption << "\", scroll " << r.scrollOn << ", colour " << r.colour.red << ","
         << r.colour.green << "," << r.colour.blue << " index " << r.colorIndex << ", skin "
         << static_cast<int>(r.skin) << " index " << r.skinIndex << ", power-off " << r.shutdownTime << " field "
         << r.shutdownField << ", memo \"" << r.memo << '"';
}

Restored restored(Form1& f) {
    EXPECT_EQ(f.Label3.ForeColor, f.Label1.ForeColor) << "the handle takes the time's colour";
    return {f.Label1.caption(), f.scrollOn, f.Label1.ForeColor, f.colorIndex, f.Picture1.Picture, f.skinIndex,
            f.shutdownTime.hms(), f.shutdownField().text(), f.Text2.Text};
}

TEST(Startup, StoredValuesComeBackAndDamagedOnesFallBackToTheDefaults) {
    const Image lastSkin = Simulator(Build::Masked).form().pictureBox(skinTable[skinCount - 1]).Picture;
    const auto number = [](int n) { return std::to_string(n); };
    const auto index = [](int n) { return static_cast<std::int16_t>(n); };
    struct Case { const char* name; Simulator::Settings stored; Restored expected; };
    const Case cases[]{
        {"scroll mode showing the memo", {{"t", "2"}, {"t9", "1"}, {"text", "shopping"}},
         {.caption = "shopping", .scrollOn = 1, .memo = "shopping"}},
        {"scroll mode showing the time", {{"t", "1"}, {"t9", "1"}, {"text", "shopping"}}, {.scrollOn = 1, .memo = "shopping"}},
        {"an empty memo: the default one", {{"t", "2"}, {"t9", "1"}, {"text", ""}}, {.scrollOn = 1}},
        {"a padded memo", {{"t", "2"}, {"t9", "2"}, {"text", "abc   "}}, {.scrollOn = 2, .memo = "abc"}},
        {"a memo of spaces alone", {{"text", "   "}}, {.memo = "   "}},
        {"a power-off time as the locale writes it", {{"time", "9:30:00 PM"}},
         {.shutdownTime = "21:30:00", .shutdownField = "21:30:00"}},
        // Colour and skin come back one step behind their indexes; outside the tables the
        // design ones stay and the index still advances.
        {"colour 5 at start-up differs from its step", {{"time2", "5"}, {"time3", "0"}},
         {.colour = Color::rgb(0, 111, 111), .colorIndex = 6, .skin = Image::Skin4, .skinIndex = 1}},
        {"the first colour", {{"time2", "0"}}, {.colour = Color::rgb(0, 255, 0), .colorIndex = 1}},
        {"the last colour and skin wrap", {{"time2", number(colorCount - 1)}, {"time3", number(skinCount - 1)}},
         {.colour = colorTable[colorCount - 1].startUp, .colorIndex = 0, .skin = lastSkin, .skinIndex = 0}},
        {"a near-black colour, the skin box with no picture", {{"time2", "10"}, {"time3", "6"}},
         {.colour = Color::rgb(0, 0, 1), .colorIndex = 11, .skin = Image::None, .skinIndex = 7}},
        {"one past the tables", {{"time2", number(colorCount)}, {"time3", number(skinCount)}},
         {.colorIndex = index(colorCount + 1), .skinIndex = index(skinCount + 1)}},
        {"negative indexes", {{"time2", "-1"}, {"time3", "-3"}}, {.colorIndex = 0, .skinIndex = -2}},
        {"nothing readable", {{"time2", "abc"}, {"time3", "70000"}, {"t", "yes"}, {"t9", "zz"}, {"time", "25:00:00"}}, {}},
    };
    for (const Case& c : cases) {
        Simulator sim(Build::Masked, at(2026, 12, 6, 18, 36, 16, 500), c.stored);
        EXPECT_EQ(restored(sim.form()), c.expected) << c.name;
        for (const auto& [name, value] : c.stored)
            if (name != "text" || !value.empty()) { EXPECT_EQ(sim.stored(name), value) << c.name << ": " << name << " rewritten"; }
    }
    Simulator first(Build::Plain);
    EXPECT_EQ(first.stored("time").value_or("-") + " " + first.stored("text").value_or("-"), "00:00:00 " + std::string(defaultMemo))
        << "a first start";
}

// A position is kept exactly while the whole strip lies on some screen; else onto the nearest.
TEST(Startup, TheStripComesUpWhereItWasUnlessThatIsOffEveryScreen) {
    const std::vector<PixelRect> one{{0, 0, 1920, 1080}};
    const std::vector<PixelRect> three{{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}, {1920, -200, 1280, 1024}};
    struct Case { std::vector<PixelRect> screens; const char *top, *left; float expectTop, expectLeft; };
    const Case cases[] = {
        {one, "0", "0", 0, 0},  // "0" is a position, not a missing one
        {one, " 600 ", "27800", 600, 27800},  // the right edge of the screen, exactly
        {{{0, 0, 800, 600}}, nullptr, nullptr, 660, 10200},
        {one, nullptr, nullptr, 600, 13605},
        {one, "900", "40000", 900, 1920 * 15 - stripWidth},
        {three, "300", "28500", 300, 1920 * 15},  // straddling two: onto the one it hangs over less
        {three, "-4000", "20000", 0, 20000},      // above the primary, nearer to it than to the right one
        {three, "16000", "36000", 12060, 36000},  // below the right one, which is nearer than the primary
        {three, "16500", "0", 15900, 0},          // just below the primary, far below the left one
        {three, "300", "28300", 300, 1920 * 15 - stripWidth},  // half on each: the primary
        {{{0, 0, 1920, 1080}, {2700, 0, 1280, 0}}, "900", "40000", 900, 1920 * 15 - stripWidth},  // no height: never nearest
        {{{0, 0, 0, 0}}, "900", "40000", 900, 40000},
        // Far off any screen: no window system can place it, so it counts as missing.
        {one, "-1", "92233720368547758088", 0, 0},
        {{{0, 0, 0, 0}}, "-1", "92233720368547758088", -1, 0},
        {one, "300", "-491506", 300, 0},
        {three, "-491505", "491505", -3000, 1920 * 15 + 1280 * 15 - stripWidth},
        {{{0, 0, 1, 1}}, "900", "40000", 0, 0},  // a screen of one pixel still holds the strip's corner
    };
    for (const auto& c : cases) {
        Simulator::Settings stored;
        for (const auto& [name, value] : {std::pair{"ta", c.top}, {"tb", c.left}}) if (value) stored.emplace_back(name, value);
        Simulator sim(Build::Masked, at(2026, 12, 6, 18, 36, 16, 500), stored);
        sim.platform().screenRects = c.screens;
        sim.restart();
        EXPECT_EQ((std::array{sim.form().Top, sim.form().Left}), (std::array{c.expectTop, c.expectLeft}))
            << (c.top ? c.top : "default") << " / " << (c.left ? c.left : "none");
    }
}

// A screen that goes, shrinks or moves brings the strip onto the nearest, by start-up's rule.
TEST(Screens, AStripLeftOffEveryScreenComesOntoTheNearestAndNothingIsStored) {
    const PixelRect wide{0, 0, 1920, 1080}, small{0, 0, 1024, 768}, right{1920, 0, 1280, 1024};
    struct Case { std::vector<PixelRect> before, after; WindowPosition at, expect; };
    const Case cases[]{
        {{wide}, {small}, {27000, 600}, {1024 * 15 - stripWidth, 600}},          // the handle was past the new right edge
        {{wide}, {small}, {13605, 15000}, {13605, 768 * 15 - stripHeight}},      // below the new bottom
        {{wide}, {small}, {13605, 600}, {13605, 600}},                           // still wholly on it: left alone
        {{wide, right}, {wide}, {37500, 1500}, {1920 * 15 - stripWidth, 1500}},  // its screen unplugged
        {{wide, right}, {right}, {13605, 600}, {1920 * 15, 600}},                // the primary unplugged
        {{wide, right}, {wide, {-1280, 0, 1280, 1024}}, {37500, 900}, {1920 * 15 - stripWidth, 900}},  // moved to the left
        {{wide}, {{0, 0, 0, 0}}, {27000, 600}, {27000, 600}},                    // between two screens: none to go to
        {{wide}, {}, {27000, 600}, {27000, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.at.left) + "," + std::to_string(c.at.top));
        Simulator sim(Build::Masked, at(2026, 12, 6, 18, 36, 16, 500),
                      {{"ta", std::to_string(c.at.top)}, {"tb", std::to_string(c.at.left)}});
        sim.platform().screenRects = c.before;
        sim.restart();
        ASSERT_EQ((std::array{sim.form().Left, sim.form().Top}), (std::array{c.at.left, c.at.top}));
        sim.runFor(1020);
        sim.platform().screenRects = c.after;
        sim.platform().memory.writtenNames.clear();
        sim.form().screensChanged();
        EXPECT_EQ((std::array{sim.form().Left, sim.form().Top}), (std::array{c.expect.left, c.expect.top}));
        EXPECT_TRUE(sim.platform().memory.writtenNames.empty()) << sim.platform().memory.writtenNames.front();
    }
}

// Every end (the handle's double-click, the session's end, the clock's own power-off, before it
// asks) stores the same four values in one write, so that none leaves half; the next start is there.
TEST(Leaving, EveryEndOfTheSessionSavesAsTheHandleDoes) {
    using Step = std::function<void(Simulator&)>;
    const Step nothing = [](Simulator&) {}, endSession = [](Simulator& s) { s.form().EndSession(); };
    const char *const quits = "endProgram", *const powersOff = "exitWindows 13 0";
    // before: what the face is doing; scroll, showed: the t9 and t stored; last: the last call.
    struct Case { const char* what; std::int16_t button; Simulator::Settings stored; Step before, end; int scroll, showed;
                  const char* last; };
    const Case cases[]{
        {"the running clock", buttonLeft, {}, nothing, endSession, 0, 1, quits},
        {"the handle, a new second begun but not yet shown", buttonLeft, {}, nothing,
         [](Simulator& s) { s.platform().clockMs += 990, s.form().Label3_DblClick(); }, 0, 2, quits},
        {"scroll mode, showing the memo", buttonRight, {}, nothing, endSession, 1, 2, quits},
        {"scroll mode, swapped to the time", buttonRight, {}, [](Simulator& s) { s.runFor(1000), s.form().Label1_DblClick(); },
         endSession, 1, 1, quits},
        {"a sounding reminder", buttonLeft, {}, [](Simulator& s) { s.form().reminderTime = *TimeOfDay::fromHms(9, 15, 2), s.runFor(1500); },
         endSession, 0, 2, quits},
        {"the countdown", buttonRight, {{"time", "09:15:30"}}, [](Simulator& s) { s.runFor(600); }, endSession, 1, 2, quits},
        {"the set second", buttonLeft, {{"time", "09:15:03"}}, nothing, [](Simulator& s) { s.runFor(2500); }, 0, 2, powersOff},
        {"the hot key", buttonRight, {}, nothing, [](Simulator& s) { s.form().form2()->Form_KeyUp('Q', 0); }, 1, 2, powersOff},
    };
    for (Build build : bothBuilds) for (const Case& c : cases) {
        SCOPED_TRACE(std::string(buildName(build)) + ": " + c.what);
        Simulator sim(build, at(2026, 12, 6, 9, 15, 0, 0), c.stored);
        auto& p = sim.platform();
        p.screenRects.push_back({-1280, 0, 1280, 1024});
        sim.runFor(1020), p.dragTo = WindowPosition{-15000.5f, 4500}, sim.form().Label3_MouseDown(c.button, 0, 3, 6);
        c.before(sim), p.memory.writtenNames.clear(), p.memory.writes = 0;
        std::string saved;
        const auto values = [&] {  // the first time only: the set second is seen twice
            if (!saved.empty()) return;
            saved = std::to_string(p.memory.writes) + ": ";
            for (const auto& name : p.memory.writtenNames) saved += name + "=" + *sim.stored(name) + " ";
            p.memory.writtenNames.clear();
        };
        p.duringPowerOff = values;
        c.end(sim), values();
        EXPECT_EQ(saved, "1: t9=" + std::to_string(c.scroll) + " t=" + std::to_string(c.showed) + " ta=4500 tb=-15000.5 ");
        EXPECT_EQ(p.calls.back(), c.last);
        sim.restart();
        const Form1& f = sim.form();
        EXPECT_EQ((std::array{f.Left, f.Top, float(f.scrollOn)}), (std::array{-15000.5f, 4500.f, float(c.scroll)}));
    }
}

// Other value types read as missing, a zero ends a text, every call closes its key.
TEST(SettingsStore, ValuesAreStringsUnderCaseBlindNamesAndAReadOnlyKeyKeepsItsOldValue) {
    MemoryRegistry registry;
    const auto read = [&](auto name) { return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name).value_or("-"); };
    const auto write = [&](auto name, auto text) { WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, text); };
    EXPECT_FALSE(read("text") != "-" || registry.keyExists(HKEY_LOCAL_MACHINE, settingsPath));
    std::string texts;
    for (const char* text : {"abcde     ", "\xE5\x85\xB3 \xE6\x98\x8E", ""}) write("text", text), texts += read("TEXT") + "|";
    EXPECT_EQ(texts, "abcde     |\xE5\x85\xB3 \xE6\x98\x8E||");
    EXPECT_TRUE(registry.keyExists(HKEY_LOCAL_MACHINE, "software\\QOM") && registry.openKeyCount() == 0u);
    auto key = registry.createKey(HKEY_LOCAL_MACHINE, settingsPath);
    registry.setValue(key, "time2", RegistryValue{ValueType::Dword, std::string("\x05\x00\x00\x00", 4)});
    registry.setValue(key, "time3", RegistryValue{ValueType::ExpandString, "3"});
    registry.setValue(key, "t", RegistryValue{ValueType::String, std::string("ab\0cd", 5)});
    registry.closeKey(key);
    write("ta", "4"), registry.setReadOnly(true), write("ta", "5"), write("tb", "new");
    EXPECT_EQ(read("time2") + read("time3") + read("t") + read("ta") + read("tb"), "--ab4-");
}

TEST(StoredText, NumbersAndTimesAreReadOnlyWhenWhole) {
    const std::pair<const char*, std::optional<std::int16_t>> numbers[] = {
        {"11", 11}, {" 7 ", 7}, {"-3", -3}, {"+4", 4}, {"2.5", 2}, {"3.5", 4}, {"2.51", 3}, {"32767", 32767},
        {"-32768", -32768}, {"32768", {}}, {"-32769", {}}, {"1e3", {}}, {"12abc", {}}, {"", {}}, {"-", {}},
        {".", {}}, {"0x10", {}}, {"nan", {}},
    };
    for (const auto& [text, value] : numbers) EXPECT_EQ(settingToInt16(text), value) << '"' << text << '"';
    const std::pair<const char*, const char*> times[] = {
        {"21:30", "21:30:00"}, {"7:05:09", "07:05:09"}, {"9:30:00 PM", "21:30:00"}, {"12:00:00 AM", "00:00:00"},
        {"12:15 pm ", "12:15:00"}, {" 06:00:00 ", "06:00:00"}, {"2026-12-06", "00:00:00"}, {"12/6/2026", "00:00:00"},
        {"2024-02-29 08:09:10", "08:09:10"}, {"2000-02-29T08:09", "08:09:00"}, {"2026-02-29", nullptr},
        {"1900-02-29", nullptr}, {"2026-04-31", nullptr}, {"", nullptr}, {"12:3 :45", nullptr}, {"24:00:00", nullptr},
        {"12:60:00", nullptr}, {"23:59:60", nullptr}, {"13:00 PM", nullptr}, {"12", nullptr}, {"12:30:45x", nullptr},
        {"1:2:3:4", nullptr}, {"1:05 P.M.", "13:05:00"}, {"2026-12", nullptr}, {"12/6/", nullptr}, {"02026-12-06", nullptr},
        {"012:30", nullptr}, {"12:030", nullptr}, {"12:30:045", nullptr}, {"2026-012-06", nullptr}, {"2026-12-006", nullptr},
    };
    for (const auto& [text, time] : times) {
        const auto parsed = parseTimeOrDate(text);
        EXPECT_EQ(parsed ? parsed->hms() : "none", time ? time : "none") << '"' << text << '"';
    }
}

}  // namespace
}  // namespace horatta::testing
