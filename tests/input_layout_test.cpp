#include <limits>
#include <map>

#include "platform/attention_flash.h"
#include "platform/event_delivery.h"
#include "platform/input_clock.h"
#include "support/simulator.h"
#include "window/layout.h"
#include "window/pointer_input.h"

namespace horatta::testing {
namespace {

// Points of the resting face, in window pixels at 15 twips a pixel: the handle Label3 covers
// x 0-9, the time Label1 x 10-49 (both y 2-14), the bare face the rest of the strip; the memo's box
// lies below the face once it is open.
struct Point { int x, y; };
constexpr Point onHandle{5, 5}, onHandleEdge{9, 5}, onTimeEdge{10, 5}, onTime{20, 8}, onFace{58, 17}, onMemo{30, 25};

constexpr std::int16_t L = buttonLeft, R = buttonRight, M = buttonMiddle;

enum Kind { Release, Press, Cancel };
struct Step { Kind kind; std::int16_t button; Point at; std::int64_t ms; };  // ms after the first step
Step down(std::int16_t b, Point p, std::int64_t ms) { return {Press, b, p, ms}; }
Step up(std::int16_t b, Point p, std::int64_t ms) { return {Release, b, p, ms}; }
const Step pointerTaken{Cancel, 0, {0, 0}, 0};
// Press, release 60 ms on, press again `ms` after the first (and release 40 ms later).
std::vector<Step> twice(std::int16_t b, Point p, Point q, std::int64_t ms, bool release = false, int upMs = 60) {
    std::vector<Step> steps{down(b, p, 0), up(b, p, upMs), down(b, q, ms), up(b, q, ms + 40)};
    return release ? steps : std::vector(steps.begin(), steps.end() - 1);
}

// What the handlers did, told by their effects on the clock.
std::string outcome(Simulator& sim) {
    Form1& f = sim.form();
    std::string out;
    auto add = [&](const std::string& word) { out += (out.empty() ? "" : " ") + word; };
    for (const auto& call : sim.platform().calls) if (call == "dragWindow Form1") add("drag");
    for (const auto& written : sim.platform().memory.writtenNames)
        for (const auto& [name, word] : {std::pair{"time2", "colour"}, {"time3", "skin"}, {"text", "memo-stored"}})
            if (written == name) add(word);
    for (const auto& [shown, word] : {std::pair{f.Text2.Visible, "memo"}, {f.Picture2.Top == stripHeight, "panel"},
                                      {f.shutdownField().Visible, "entry"}, {f.scrollOn == 1, "scroll"}, {sim.ended(), "exit"}})
        if (shown) add(word);
    return out;
}

// Each step is handed in as a shell hands in input: what comes while a handler runs waits.
void play(EventDelivery& delivery, PointerInput& input, const std::vector<Step>& steps, std::int64_t start) {
    for (const Step& s : steps)
        delivery.deliver(EventDelivery::Kind::Input, [&input, s, t = start + s.ms] {
            s.kind == Press ? input.press(s.button, 0, s.at.x, s.at.y, t)
                            : s.kind == Release ? input.release(s.button, s.at.x, s.at.y, t) : input.cancel();
        });
}

// `whileDragging`: what comes in while a press handler drags.
struct Case { const char* what; std::vector<Step> steps; std::string expected; bool memoOpen = false, windowMoves = false;
              std::vector<Step> whileDragging = {}; };

TEST(PointerInput, PressSequencesReachTheHandlersOfTheControlsUnderThem) {
    const std::vector<Case> cases{
        {"left press on the time", {down(L, onTime, 0), up(L, onTime, 80)}, "drag colour"},
        {"right press on the time", {down(R, onTime, 0), up(R, onTime, 80)}, "drag skin"},
        {"right press on the handle", {down(R, onHandle, 0), up(R, onHandle, 80)}, "drag scroll"},
        {"click on the face", {down(L, onFace, 0), up(L, onFace, 80)}, "memo"},
        {"press on the face, release on the time", {down(L, onFace, 0), up(L, onTime, 80)}, ""},
        {"double-click on the face", twice(L, onFace, onFace, 200, true), "panel"},
        {"double-click on the time", twice(L, onTime, onTime, doubleClickTimeMs, true), "drag colour entry"},
        {"double-click on the time within a millisecond", twice(L, onTime, onTime, 0, false, 0), "drag colour entry"},
        {"double-click on the handle", twice(L, onHandle, onHandle, 150), "drag exit"},
        {"second press a pixel over, on the time", twice(L, onHandleEdge, onTimeEdge, 150), "drag entry"},
        {"slow pair on the time", twice(L, onTime, onTime, doubleClickTimeMs + 1, true), "drag drag colour colour"},
        {"second press too far away", twice(L, onTime, {onTime.x + PointerInput::doubleClickSlop + 1, onTime.y}, 150), "drag drag colour colour"},
        {"middle press between two left ones",
         {down(L, onTime, 0), up(L, onTime, 40), down(M, onTime, 80), up(M, onTime, 100), down(L, onTime, 150)},
         "drag drag drag colour colour"},
        {"the pointer moves two pixels while the button is down", {down(L, onFace, 0), up(L, {onFace.x - 2, onFace.y - 2}, 60), down(L, onFace, 200), up(L, onFace, 240)}, "panel"},
        {"the pointer travels while the button is down",
         {down(L, onFace, 0), up(L, {onFace.x, 5}, 100), down(L, onFace, 200)}, "memo"},
        {"the first press drags the window", twice(L, onTime, onTime, 150), "drag drag colour colour", false, true},
        {"the pointer taken away before the release", {down(L, onFace, 0), pointerTaken, up(L, onFace, 60)}, ""},
        {"the pointer taken away between the presses",
         {down(L, onFace, 0), up(L, onFace, 40), pointerTaken, down(L, onFace, 100), up(L, onFace, 120)}, "memo"},
        {"the second press comes before the first press's handler has returned",
         {down(L, onTime, 0)}, "drag colour entry", false, false, {up(L, onTime, 60), down(L, onTime, 150)}},
        {"double-click in the memo", twice(L, onMemo, onMemo, 150), "memo-stored", true},
        {"double-click on the face with the memo open", twice(L, onFace, onFace, 150), "panel", true},
    };
    for (const Case& c : cases) {  // the two programs take turns
        SCOPED_TRACE(c.what);
        Simulator sim((&c - cases.data()) % 2 ? Build::Plain : Build::Masked);
        Form1& f = sim.form();
        PointerInput input(f);
        EventDelivery delivery;
        sim.platform().memory.writtenNames.clear();  // start-up stores the default memo
        if (c.memoOpen) f.Picture1_Click();
        if (c.windowMoves) sim.platform().dragTo = WindowPosition{f.Left + 300, f.Top};
        const Color colour = f.Label1.ForeColor;
        const Image skin = f.Picture1.Picture;
        sim.platform().duringDrag = [&, first = true]() mutable {
            if (std::exchange(first, false)) {  // the later presses follow earlier steps
                EXPECT_TRUE(sim.platform().memory.writtenNames.empty() && f.Label1.ForeColor == colour &&
                            f.Picture1.Picture == skin) << "the step waits for the drag";
            }
            play(delivery, input, c.whileDragging, sim.nowMs());
            EXPECT_FALSE(f.shutdownField().Visible) << "what comes in during the drag waits for it";
        };
        play(delivery, input, c.steps, sim.nowMs());
        EXPECT_EQ(outcome(sim), c.expected);
    }
}

// A tone holds the clock for its length; the presses made meanwhile come in once the tick is
// over, when it has blinked the face on or off. Each press meets the face as it was shown
// when it was made, so a double-click does what it does between tones: on the time it drags
// and steps the colour (its second press undoes that), on the bare face it neither drags nor
// steps. Every one cancels the countdown or stops the alert, and the clock runs on.
TEST(PointerInput, DoubleClicksMadeWhileAToneHoldsTheClockCancelOrStop) {
    // The countdown's first beep sounds while its caption shows, the second while it is blinked
    // away; a reminder's pair sounds while its text is away, after half a second with it shown.
    enum Tone { CountdownShown, CountdownHidden, AlertPair, AlertShownBefore, AlertBothBefore };
    struct Row { Tone tone; Point at; const char* expected; };
    const Row rows[]{
        {CountdownShown, onTime, "drag colour: cancelled"}, {CountdownShown, onHandle, "drag: cancelled"},
        {CountdownShown, onFace, ": cancelled"}, {CountdownHidden, onTime, ": cancelled"},
        {CountdownHidden, onHandle, "drag: cancelled"}, {CountdownHidden, onFace, ": cancelled"},
        {AlertPair, onTime, ": stopped"}, {AlertPair, onHandle, "drag: stopped"}, {AlertPair, onFace, ": stopped"},
        {AlertShownBefore, onTime, "drag colour: stopped"}, {AlertShownBefore, onHandle, "drag: stopped"},
        {AlertShownBefore, onFace, ": stopped"}, {AlertBothBefore, onTime, "drag colour: stopped"},
    };
    // Press, release, press, release, in ms from the tone's start.
    const std::map<Tone, std::array<int, 4>> presses{{CountdownShown, {40, 60, 110, 130}}, {CountdownHidden, {5, 25, 200, 220}},
        {AlertPair, {40, 60, 40 + doubleClickTimeMs, 60 + doubleClickTimeMs}}, {AlertShownBefore, {-30, -10, 80, 100}},
        {AlertBothBefore, {-150, -130, -40, -20}}};
    for (Build build : bothBuilds) for (const Row& row : rows) {
        SCOPED_TRACE(std::string(buildName(build)) + " row " + std::to_string(&row - rows));
        const bool countdown = row.tone <= CountdownHidden;
        Simulator sim(build, at(2026, 12, 6, 22, 38, 59, 600), {{"time", countdown ? "22:40:00" : "00:00:00"}});
        Form1& f = sim.form();
        if (!countdown) f.reminderTime = *parseTimeOrDate("22:39:01"), f.Text1.Text = "Tea";
        PointerInput input(f);
        sim.showTo(input), sim.platform().memory.writtenNames.clear();
        const int wanted = row.tone == CountdownHidden || row.tone >= AlertShownBefore ? 2 : 1;
        int tones = 0;
        std::size_t beepsWhenHandled = 0;
        sim.platform().duringBeep = [&] {
            const BeepCall& tone = sim.platform().beeps.back();
            if (tone.hz == 3110 || ++tones != wanted) return;
            const auto [down1, up1, down2, up2] = presses.at(row.tone);
            sim.waitingInput = {[&, t = tone.atMs + down1] { input.press(L, 0, row.at.x, row.at.y, t); },
                                [&, t = tone.atMs + up1] { input.release(L, row.at.x, row.at.y, t); },
                                [&, t = tone.atMs + down2] { input.press(L, 0, row.at.x, row.at.y, t); },
                                [&, t = tone.atMs + up2] { input.release(L, row.at.x, row.at.y, t); },
                                [&] { beepsWhenHandled = sim.platform().beeps.size(); }};
        };
        sim.runUntil(at(2026, 12, 6, 22, 40, 3, 100));
        ASSERT_EQ(tones, wanted);
        const bool clockRuns = f.faceMode() == FaceMode::Clock && f.Label1.Visible && f.Label1.caption() == f.timeText();
        const bool done = countdown ? sim.platform().powerOffCount == 0 && f.shutdownTime.isMidnight()
                                    : f.reminderAlertOn == 0 && sim.platform().beeps.size() == beepsWhenHandled;
        EXPECT_EQ(outcome(sim) + ": " + (clockRuns && done ? (countdown ? "cancelled" : "stopped") : "runs on"), row.expected);
    }
}

// The server's stamps on input events, told on our clock: the shortest wait seen is taken for
// the clocks' offset, so an event handled late (behind a tone) is placed when it was made,
// also across the stamps' 32-bit wrap.
TEST(InputClock, PlacesEachEventWhenItWasMade) {
    struct Step { std::int64_t stamp, waited, made; };  // the stamp from a count about to wrap
    const std::int64_t minutes6 = 360'000;
    // The first event handled late cannot be told; later ones are. Slowing by 40 ms every six
    // minutes, the server is followed with the last few minutes' lag: 40 ms, never more.
    const Step steps[]{{0, 120, 120}, {1000, 0, 1000}, {1500, 300, 1500}, {1500 + minutes6 - 40, 0, 1500 + minutes6 - 40},
                       {1600 + minutes6 - 40, 250, 1600 + minutes6 - 40}, {1500 + 2 * minutes6 - 80, 0, 1500 + 2 * minutes6 - 40},
                       {1500 + 3 * minutes6 - 120, 0, 1500 + 3 * minutes6 - 40}};
    InputClock clock;
    for (const Step& step : steps) {  // our clock runs 10'000 ms ahead of the server's, less as it slows
        const std::int64_t drift = step.stamp / minutes6 * 40, ours = 10'000 + step.stamp + drift;
        EXPECT_EQ(clock.madeAt(static_cast<std::uint32_t>(0xFFFFFC00u + step.stamp), ours + step.waited) - 10'000, step.made)
            << step.stamp;
    }
}

// The flashes a second start shows, followed as a shell's timer does (woken at each change,
// however late): four inverted phases in about a second, then normal for good.
TEST(AttentionFlash, FourFlashesInAboutASecondThenNormal) {
    for (const int lateMs : {0, 7, 60}) {
        std::int64_t t = 0;
        int inverted = 0, wakes = 0;
        bool last = false;
        while (const auto now = AttentionFlash::invertedAt(t)) {
            EXPECT_TRUE(wakes == 0 || *now != last) << "a wake with nothing to change at " << t;
            last = *now;
            inverted += *now ? 1 : 0;
            t += AttentionFlash::nextChangeInMs(t) + lateMs;
            ASSERT_LT(++wakes, 20);
        }
        EXPECT_EQ(inverted, 4) << lateMs;
        EXPECT_GE(t, 900) << lateMs;
        EXPECT_LE(t, 1200) << lateMs;
        EXPECT_EQ(AttentionFlash::invertedAt(t + 60'000), std::nullopt);
    }
    EXPECT_EQ(AttentionFlash::invertedAt(-5), true);  // a clock stepped back: from the start
}

// A press on the time with a colour or skin index outside its table (as a damaged setting
// leaves it) changes nothing, yet stores the index and counts on; the largest wraps.
TEST(ColourAndSkin, AnIndexOutsideTheTableChangesNothingButIsStoredAndCounted) {
    Simulator sim(Build::Masked, at(2026, 12, 6, 9, 15, 0, 0), {{"time3", "7"}});
    Form1& f = sim.form();
    const Color colour = f.Label1.ForeColor;
    constexpr int largest = std::numeric_limits<std::int16_t>::max();
    // colour and skin index before the presses, and after them
    for (const auto& [colourAt, skinAt, colourNext, skinNext] :
         {std::array{colorCount, skinCount, colorCount + 1, skinCount + 1}, {-1, -1, 0, 0}, {largest, largest, 0, 0}}) {
        SCOPED_TRACE(std::to_string(colourAt) + " " + std::to_string(skinAt));
        f.colorIndex = static_cast<std::int16_t>(colourAt), f.skinIndex = static_cast<std::int16_t>(skinAt);
        f.Label1_MouseDown(buttonLeft, 0, 0, 0), f.Label1_MouseDown(buttonRight, 0, 0, 0);
        EXPECT_TRUE(f.Label1.ForeColor == colour && f.Picture1.Picture == Image::Skin7);
        EXPECT_EQ((std::array{*sim.stored("time2"), *sim.stored("time3")}), (std::array{std::to_string(colourAt), std::to_string(skinAt)}));
        EXPECT_EQ((std::array{int{f.colorIndex}, int{f.skinIndex}}), (std::array{colourNext, skinNext}));
    }
}

// The window keeps its size wherever its position rounds, and a window left on its pixel
// keeps its twips. The controls are stacked front to back, hidden ones saying so, and a press
// on the open shutdown field reaches it; on the face the handle is in front of the time, and
// a label hit or drawn only while shown.
TEST(Layout, TheWindowAndItsControls) {
    for (Build build : bothBuilds) {
        SCOPED_TRACE(buildName(build));
        Simulator clock(build);
        Form1& f = clock.form();
        const auto at = [&f](std::vector<Point> points) {
            std::vector<ControlId> out;
            for (Point p : points) out.push_back(PointerInput(f).controlAt(p.x, p.y));
            return out;
        };
        using enum ControlId;
        f.Label3.Width = 400;  // the handle, reaching over the time, is in front of it
        EXPECT_EQ(at({onTime}), std::vector{Label3});
        f.Label3.Visible = false;  // the time down to its bottom row, the face above it
        EXPECT_EQ(at({onTime, {onTime.x, 14}, {onTime.x, 15}, {onTime.x, 1}}), (std::vector{Label1, Label1, Picture1, Picture1}));
        f.Label1.Visible = false;  // the panel behind shows above the face
        EXPECT_EQ(at({onTime, {onFace.x, 0}, {onFace.x, 30}}), (std::vector{Picture1, Picture2, Form1}));
        f.Label1_DblClick();
        f.Text1.Width = f.Text1.Height = -30;
        int fields = 0;  // this program's own field is among its controls
        for (const auto& [id, r, visible] : Layout(f).controls()) {
            EXPECT_EQ((std::array{visible, r.width == 0 && r.height == 0}), (std::array{f.control(id).Visible, id == Text1})) << controlName(id);
            if (id == f.shutdownFieldId() && ++fields) { EXPECT_EQ(at({{r.left + r.width / 2, r.top + r.height / 2}}), std::vector{id}); }
        }
        EXPECT_EQ(fields, 1);
        const PixelRect before = Layout(f).window();
        for (float left : {0.0f, 7.0f, 7.5f, 8.0f, -22.5f}) {
            const PixelRect r = (f.Left = left, Layout(f).window());
            EXPECT_EQ((std::array{r.left, r.width, r.height}), (std::array{toPixels(left), before.width, before.height}));
        }
        const WindowPosition from{13607, 598}, kept = Layout(f).positionAt(907, 40, from);
        const WindowPosition moved = Layout(f).positionAt(908, 40, from);
        EXPECT_EQ((std::array{kept.left, kept.top, moved.left, moved.top}), (std::array{13607.0f, 598.0f, 13620.0f, 600.0f}));
        EXPECT_EQ((f.Width = f.Height = 0, Layout(f).window().width * 10 + Layout(f).window().height), 11) << "at least a pixel";
        f.Label1.Visible = f.Label3.Visible = true;
        std::vector<ControlId> drawn;
        for (const auto& label : Layout(f).labelsOn(Picture1)) drawn.push_back(label.id);
        EXPECT_EQ(drawn, (std::vector{Label1, Label3}));
        // The face lies 10 twips in (a pixel); a label 20 twips from its edge lies at 30 twips
        // in the window, which is 2 pixels: one pixel into the face, not two.
        f.Picture1.Left = f.Picture1.Top = 10, f.Label1.Left = f.Label1.Top = 20;
        const PixelRect onFace = Layout(f).labelRect(Label1), inWindow = Layout(f).labelRectInWindow(Label1);
        EXPECT_EQ((std::array{onFace.left, onFace.top, inWindow.left, inWindow.top}), (std::array{1, 1, 2, 2}));
    }
}

}  // namespace
}  // namespace horatta::testing
