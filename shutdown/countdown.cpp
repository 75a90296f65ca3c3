#include <string>

#include "settings/setting_names.h"
#include "window/form1.h"

namespace horatta {

namespace {

constexpr int countdownSeconds = 60;
constexpr int countdownIntervalMs = 500;
constexpr int countdownBeepEvery = 7;
constexpr int countdownBeepHz = 1342;
constexpr int countdownBeepMs = 300;
// "Power off", after the seconds left.
constexpr const char* countdownSuffix = " \xE5\x85\xB3\xE6\x9C\xBA";

// The reminder message slides down into the lower strip.
constexpr float messageStartTop = 360;
constexpr float messageLastTop = 570;
constexpr float messageStartHeight = 650;
constexpr float slideStep = 10;

// The time an entry field holds, when it holds one. A masked field with blank digit
// positions holds none, even where the system would read the digits it has.
std::optional<TimeOfDay> enteredTime(Platform& platform, const TimeField& field) {
    if (const auto* masked = dynamic_cast<const MaskedTimeField*>(&field); masked && !masked->complete())
        return std::nullopt;
    return platform.parseDateOrTime(field.text());
}

// A message that still reads as a time is the previous reminder's: it shows the new time
// instead. A message the user wrote is kept.
void showReminderTimeInMessage(Form1& form) {
    const bool readsAsTime = form.platform().parseDateOrTime(form.Text1.Text).has_value();
    const bool emptyTakesTime = form.build() == Build::Plain && form.Text1.Text.empty();
    if (readsAsTime || emptyTakesTime) form.Text1.Text = form.reminderTime.hms();
}

void slideMessageOpen(Form1& form) {
    while (form.Text1.Top <= messageLastTop) {
        form.Height += slideStep;
        form.Text1.Top += slideStep;
    }
}

constexpr std::int64_t daySeconds = 24 * 3600;
// The longest forward step of the clock, on top of the watch's own second, across which a
// set second still counts (a time-server correction). A longer gap is a sleep or a large
// change of the clock: what was missed meanwhile is let go rather than done on waking.
constexpr std::int64_t longestClockStepSeconds = 60;
// How long the last countdown caption stays after the set second.
constexpr std::int64_t countdownLingerSeconds = 2;

// Seconds the clock moved since the watch last looked at it; 0 for the first look.
std::int64_t clockGap(std::optional<std::int64_t> previousSecond, std::int64_t nowSecond) {
    return previousSecond ? nowSecond - *previousSecond : 0;
}

bool isLongGap(std::int64_t gap) { return gap > longestClockStepSeconds + 1; }

// Whether the set second `time` came round since the watch last looked at the clock.
bool setSecondCameRound(TimeOfDay time, std::optional<std::int64_t> previousSecond, std::int64_t nowSecond) {
    if (time.isMidnight()) return false;
    const std::int64_t gap = clockGap(previousSecond, nowSecond);
    // The same second seen again, a clock set back, or the first look: only an exact match.
    if (gap <= 0) return nowSecond % daySeconds == time.secondsOfDay();
    if (isLongGap(gap)) return false;
    const std::int64_t ahead = ((time.secondsOfDay() - (*previousSecond + 1)) % daySeconds + daySeconds) % daySeconds;
    return ahead < gap;
}

// Outside the countdown's minute and past the set second's linger, on either side of it.
bool countdownIsOver(TimeOfDay time, TimeOfDay now) {
    const std::int64_t since = ((now.secondsOfDay() - time.secondsOfDay()) % daySeconds + daySeconds) % daySeconds;
    return since >= countdownLingerSeconds && since < daySeconds - countdownSeconds;
}

}  // namespace

void Form1::ApplyShutdownEntry() {
    const auto entered = enteredTime(platform_, shutdownField());
    if (!entered) {
        SetFocus(shutdownFieldId());
        return;
    }
    shutdownTime = *entered;
    Label2.setCaption(platform_.longTimeText(shutdownTime));
    writeSetting(setting::shutdownTimeApplied, Label2.caption());
    Timer2.setEnabled(false);
    shutdownField().Visible = false;
    // The keyboard leaves with the field, so that the next entry runs its focus handler
    // (which stops the watch) before it takes a key.
    focusLeaves(shutdownFieldId());
    commitColorAndSkin();
    if (build_ == Build::Plain) Label1.setAutoSize(true);
    Label1.Visible = true;
    Label3.Visible = true;
    Timer3.setEnabled(true);
    shutdownEntryStarted = 0;
    shutdownEntryDone = 0;
}

void Form1::applyReminderEntryByEnter() {
    const auto entered = enteredTime(platform_, reminderField());
    if (!entered) return;
    reminderEntryStarted = 0;
    reminderTime = *entered;
    showReminderTimeInMessage(*this);
    Timer3.setEnabled(true);
    Text1.Top = messageStartTop;
    Text1.Visible = true;
    Height = messageStartHeight;
    slideMessageOpen(*this);
    Timer2.setEnabled(false);
    SetFocus(ControlId::Text1);
    Timer3.setEnabled(true);
    Label1.Visible = true;
}

void Form1::Picture2_DblClick() {
    const auto entered = enteredTime(platform_, reminderField());
    if (!entered) return;
    reminderTime = *entered;
    Timer3.setEnabled(true);
    showReminderTimeInMessage(*this);
    if (!Text1.Visible) {
        Text1.Visible = true;
        Height = messageStartHeight;
        Text1.Top = messageStartTop;
        slideMessageOpen(*this);
    }
    Timer2.setEnabled(false);
    reminderField().Visible = true;
    SetFocus(ControlId::Text1);
}

void Form1::Timer3_Timer() {
    const DateTime now = platform_.now();
    const std::int64_t nowSecond = now.localSeconds();
    const TimeOfDay timeOfDay = now.timeOfDay();
    const std::optional<std::int64_t> previousSecond = lastWatchSecond_;
    lastWatchSecond_ = nowSecond;
    // Nothing fires in the second of waking from a long gap, however often it is seen.
    if (isLongGap(clockGap(previousSecond, nowSecond))) wakingSecond_ = nowSecond;
    const bool waking = wakingSecond_ == nowSecond;

    if (!shutdownTime.isMidnight()) {
        // One reading for the test and the caption, so a second that turns between them
        // cannot put "-1" or "61" on the face.
        const int secondsLeft = shutdownTime.secondsOfDay() - timeOfDay.secondsOfDay();
        if (secondsLeft >= 0 && secondsLeft <= countdownSeconds) {
            Label1.setCaption(std::to_string(secondsLeft) + countdownSuffix);
            Timer1.setEnabled(false);
            Timer3.setInterval(countdownIntervalMs);
            if (ticksLeft % countdownBeepEvery == 0) Beep(countdownBeepHz, countdownBeepMs);
            ticksLeft = static_cast<std::int16_t>(ticksLeft - 1);
            if (scrollOn == 1) Label1.Left = faceRestLeft;
            else Label1.alignment = Alignment::Center;
            Label1.Visible = !Label1.Visible;
        }
    }

    // The program outlived its power-off (no answer, a refusal, a clock set back or
    // stepped past the set second): the face does not stay frozen on the countdown.
    if (faceMode() == FaceMode::Countdown && countdownIsOver(shutdownTime, timeOfDay)) {
        // A reminder that fell due in the last minute had the face taken from it: it ends
        // with the countdown rather than blink the countdown's leftovers for a minute.
        if (reminderAlertOn == 1) {
            reminderAlertOn = 0;
            Timer1.setInterval(faceClockIntervalMs);
        }
        returnFaceToClock();
        ticksLeft = ticksAtRest;
    }

    if (!waking && setSecondCameRound(shutdownTime, previousSecond, nowSecond)) powerOff();

    // The watch looks twice a second after a countdown: a reminder the user stopped in the
    // first half of its second must not start again in the second half.
    const bool secondSeenBefore = previousSecond == nowSecond;
    if (!waking && !secondSeenBefore && setSecondCameRound(reminderTime, previousSecond, nowSecond))
        StartReminderAlert();
}

void Form1::powerOff() {
    // A power-off that goes through ends the program with the session: what the user set
    // is stored first.
    SaveWindowState();
    PowerOffSequence(platform_);
}

void Form1::StartReminderAlert() {
    Timer1.setInterval(faceScrollIntervalMs);
    reminderAlertOn = 1;
    Label1.setCaption(Text1.Text);
    Label1.Visible = false;
}

}  // namespace horatta
