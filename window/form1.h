#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/settings.h"
#include "window/time_field.h"
#include "window/build.h"
#include "window/colour_skin_tables.h"
#include "window/controls.h"
#include "window/form2.h"
#include "window/input_codes.h"

namespace horatta {

inline constexpr float stripWidth = 1000;
inline constexpr float stripHeight = 300;
inline constexpr std::int16_t ticksAtRest = 60;
// Where the time text rests on the face when it neither scrolls nor blinks.
inline constexpr float faceRestLeft = 150;
// The clock tick's paces: the normal clock, a blinking alert, scrolling.
inline constexpr int faceClockIntervalMs = 1000;
inline constexpr int faceBlinkIntervalMs = 500;
inline constexpr int faceScrollIntervalMs = 50;
extern const std::string_view defaultMemo;

// What the face is doing, told by the clock tick's timer: stopped by the power-off
// countdown, or ticking at the pace of the normal clock, a blinking alert, or scrolling
// (scroll mode and a scrolling alert).
enum class FaceMode { Countdown, Clock, Blinking, Scrolling };

// The clock window: every control, every state variable and every handler. Handlers run
// to completion on the caller's thread; a shell calls them and redraws from the model.
// Handlers are defined in the folder of the subsystem that owns them.
class Form1 {
public:
    Form1(Build build, Platform& platform);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    Build build() const { return build_; }
    Platform& platform() { return platform_; }

    // --- the window itself (twips)
    std::string Caption = "time";
    float Left = 13605;
    float Top = 600;
    float Width = 1380;
    float Height = 1050;
    Color BackColor = Color::system(colorMenu);
    Image Picture = Image::None;  // parks the skin while the shutdown-time entry is open

    // --- controls
    PictureBox Picture1, Picture2, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8, Picture9;
    Label Label1, Label2, Label3;
    TextBox Text1, Text2;
    Timer Timer1{true, 1000};
    Timer Timer2{false, 600};
    Timer Timer3{true, 1000};

    // The shutdown-time field (MaskEdBox1, or Text3 in horatta-t) and the reminder-time
    // field (MaskEdBox2, or Text4).
    TimeField& shutdownField() { return *shutdownField_; }
    TimeField& reminderField() { return *reminderField_; }
    ControlId shutdownFieldId() const { return shutdownField_->id; }
    ControlId reminderFieldId() const { return reminderField_->id; }

    PictureBox& pictureBox(ControlId id);
    const Control& control(ControlId id) const;
    // Windowed controls that may overlap, front to back.
    std::array<ControlId, 6> stackingOrder() const;

    // The hot-key window, once start-up has created it.
    Form2* form2() { return form2_.get(); }

    // --- state shared by the handlers
    std::int16_t colorIndex = 0;
    std::int16_t skinIndex = 0;
    std::int16_t screenWidthPx = 0;
    std::int32_t beepResult = 0;
    std::int16_t shutdownEntryStarted = 0;
    std::int16_t shutdownEntryDone = 0;
    TimeOfDay shutdownTime;
    std::int16_t reminderAlertOn = 0;
    std::int16_t ticksLeft = 0;
    std::int16_t reminderEntryStarted = 0;
    TimeOfDay reminderTime;
    std::int16_t blinkingEntry = 0;
    std::int16_t scrollOn = 0;
    std::int16_t hourTensIsTwo = 0;
    std::int16_t savedLabelMode = 0;
    std::string savedTop;
    std::string savedLeft;

    // --- focus: the core decides where the keyboard goes
    std::optional<ControlId> focus() const { return focus_; }
    // Moves the focus (as the program's own SetFocus does) and runs the control's
    // GotFocus handler when the focus arrives somewhere new.
    void SetFocus(ControlId control);
    // The shell reports that the user put the focus somewhere.
    void focusArrived(ControlId control);
    // A hidden control cannot keep the keyboard: when it has the focus, the face takes it,
    // so that the control's GotFocus runs again the next time it is shown and focused.
    void focusLeaves(ControlId hidden);

    // --- time fields: the shell forwards keys, the core runs the handler, then the field
    void timeFieldKeyPress(ControlId field, std::int16_t keyAscii);
    void timeFieldEditKey(ControlId field, EditKey key);

    // --- start-up (window/form_load.cpp)
    void Form_Load();

    // --- moving and leaving (window/moving_leaving.cpp)
    void Label3_MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void Label3_DblClick();
    // Stores where the window is and what the face shows, as the handle's save-and-exit
    // does: every way the program ends (the handle, a log-out, a signal, the display going
    // away, the clock's own power-off) stores the same values by the same rules.
    void SaveWindowState();
    // The program is asked to end from outside (a log-out, a signal, the display going
    // away): it stores what the handle's save-and-exit stores and ends at once, whatever
    // the face is doing.
    void EndSession();
    // The screens changed while the clock runs (one went away, shrank or moved): a strip no
    // longer wholly on a screen comes onto the nearest one, as at start-up. Nothing is stored.
    void screensChanged();

    // --- clock tick (face/clock_tick.cpp)
    void Timer1_Timer();

    // --- display modes (face/display_modes.cpp)
    void Label1_DblClick();
    void scrollToggle(std::int16_t button);
    // The mode of the face as the clock tick's timer tells it.
    FaceMode faceMode() const;
    // The time text at its rest position, shown, left-justified and sized to its text.
    void showTimeAtRest();
    // The clock takes the face back from the countdown.
    void returnFaceToClock();
    // A gesture during the countdown: the face comes back and the power-off is forgotten
    // for this run; the stored time arms it again at the next start.
    void cancelPowerOffForThisRun();

    // --- time entry (shutdown/time_entry.cpp)
    void MaskEdBox1_GotFocus();
    void MaskEdBox2_GotFocus();
    void maskedbox1_keyPress(std::int16_t& KeyAscii);
    void MaskEdBox2_KeyPress(std::int16_t& KeyAscii);
    void Text3_GotFocus();
    void Text4_GotFocus();
    void text3_keyPress(std::int16_t& KeyAscii);
    void Text4_KeyPress(std::int16_t& KeyAscii);
    void Timer2_Timer();

    // --- countdown and power-off (shutdown/countdown.cpp)
    void ApplyShutdownEntry();
    void applyReminderEntryByEnter();
    void Picture2_DblClick();
    void Timer3_Timer();
    void StartReminderAlert();
    void powerOff();
    // The watch stops while the power-off time is edited; when it runs again it does not
    // take the pause for a jump of the clock.
    void watchResting() { lastWatchSecond_.reset(); }

    // --- colour and skin (appearance/colour_skin.cpp)
    void Label1_MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void stepColor();
    void stepSkin();
    // The first press of a double-click on the time has already stepped the colour: show
    // the colour from before that press again.
    void undoColorStep();
    // The shutdown-time entry opens: colorIndex comes to name the colour on screen, and the
    // skin is parked in the window's own picture while the entry shows its background.
    void holdColorAndSkin();
    // The shutdown-time entry is applied: the colour is restored, stored and stepped past,
    // and the parked skin comes back.
    void commitColorAndSkin();

    // --- memo and reminder message (appearance/memo.cpp)
    void Picture1_Click();
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text1_KeyPress(std::int16_t& KeyAscii);
    void Text2_KeyPress(std::int16_t& KeyAscii);
    void Text1_DblClick();
    void Text2_DblClick();

    // --- panel switching (appearance/panel_switching.cpp)
    void Picture1_DblClick();

    // --- helpers shared by the handlers
    std::optional<std::string> readSetting(std::string_view name);
    void writeSetting(std::string_view name, std::string_view value);
    void writeSettings(const SettingTexts& values);
    // The current time of day as "hh:mm:ss".
    std::string timeText();
    void Beep(int hz, int ms);

private:
    void placeWindow();
    void keepOnScreen();
    // Sounds the chime when the time is a full hour that has not yet chimed.
    void soundHourlyChime();
    // The second of the clock the watch tick last saw, to tell a step of the clock.
    std::optional<std::int64_t> lastWatchSecond_;
    // The second in which the watch woke from a long gap (a sleep, a large clock change).
    std::optional<std::int64_t> wakingSecond_;
    // Writes the date into the face's tool-tip when the day differs from the one it shows.
    void refreshDateToolTip(const DateTime& now);
    // The day the tool-tip shows: year, month and day.
    std::array<int, 3> toolTipDay_{};
    // The full hour chimed last (date and hour), so that fast ticks chime it only once.
    std::optional<std::int64_t> lastChimedHour_;

    Build build_;
    Platform& platform_;
    std::unique_ptr<TimeField> shutdownField_;
    std::unique_ptr<TimeField> reminderField_;
    std::unique_ptr<Form2> form2_;
    std::optional<ControlId> focus_;
};


}  // namespace horatta
