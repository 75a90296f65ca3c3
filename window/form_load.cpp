#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "settings/setting_names.h"
#include "settings/settings.h"
#include "window/form1.h"
#include "window/screen_placement.h"

namespace horatta {

namespace {

// A stored window edge: a plain decimal number of twips that the window system can place,
// whose coordinates are 16-bit pixels. Anything else counts as missing, as a number out of
// range does everywhere else.
std::optional<float> storedPosition(std::string_view text, int twipsPerPixel) {
    auto value = settingToNumber(text);
    const double farthest = 32767.0 * std::max(1, twipsPerPixel);
    if (!value || !(std::fabs(*value) <= farthest)) return std::nullopt;
    return static_cast<float>(*value);
}

// Trailing spaces are padding a stored memo may carry, not part of it. A memo of spaces
// alone is what the user stored, and stays.
std::string withoutPadding(std::string text) {
    const auto end = text.find_last_not_of(' ');
    if (end != std::string::npos) text.erase(end + 1);
    return text;
}

}  // namespace

void Form1::placeWindow() {
    if (!savedTop.empty()) {
        auto top = storedPosition(savedTop, platform_.twipsPerPixelY());
        if (top) {
            Top = *top;
            Left = storedPosition(savedLeft, platform_.twipsPerPixelX()).value_or(0.0f);
            return;
        }
    }
    if (screenWidthPx == 800) {
        Top = 660;
        Left = 10200;
    } else {
        Left = 13605;
        Top = 600;
    }
}

// A strip with no title bar, no taskbar button and no other way out must never be lost
// off screen: when it would not lie wholly on some screen it moves onto the nearest one.
void Form1::keepOnScreen() {
    const WindowPosition placed = placeOnScreens({Left, Top}, stripWidth, stripHeight, platform_.screens(),
                                                 platform_.twipsPerPixelX(), platform_.twipsPerPixelY());
    Left = placed.left;
    Top = placed.top;
}

void Form1::refreshDateToolTip(const DateTime& now) {
    const std::array<int, 3> day{now.year, now.month, now.day};
    if (day == toolTipDay_) return;
    toolTipDay_ = day;
    // Appended piece by piece: GCC 12 at -O3 takes " " + std::string for an overlapping copy.
    std::string text(1, ' ');
    for (const std::string& piece : {platform_.weekdayName(now.weekday), std::string(","),
                                     platform_.monthAbbreviation(now.month), std::string(" "), std::to_string(now.day),
                                     std::string(","), std::to_string(now.year), std::string(" ")})
        text += piece;
    Label1.ToolTipText = std::move(text);
}

void Form1::Form_Load() {
    // The screen's width in pixels picks the default place of the strip.
    {
        long twips = std::lround(static_cast<double>(platform_.screenWidthTwips()));
        long perPixel = std::max(1L, std::lround(static_cast<double>(platform_.twipsPerPixelX())));
        screenWidthPx = static_cast<std::int16_t>(twips / perPixel);
    }
    // The date shows as the time's tool-tip; the time itself goes up with the memo below.
    refreshDateToolTip(platform_.now());
    // The stored place or the default one, held to a screen so that the strip stays in reach.
    savedTop = readSetting(setting::windowTop).value_or("");
    savedLeft = readSetting(setting::windowLeft).value_or("");
    placeWindow();
    Width = stripWidth;
    Height = stripHeight;
    keepOnScreen();

    // A stored power-off time that is no time of day means none. A missing one is stored as
    // none, so that a first start leaves a time in the file to edit.
    const std::string timeSetting = readSetting(setting::shutdownTime).value_or("");
    const std::string colorText = readSetting(setting::colorIndex).value_or("");
    const std::string skinText = readSetting(setting::skinIndex).value_or("");
    std::string storedTime;
    if (!timeSetting.empty()) storedTime = platform_.parseDateOrTime(timeSetting).value_or(TimeOfDay()).hms();
    if (storedTime.empty()) {
        storedTime = "00:00:00";
        writeSetting(setting::shutdownTime, storedTime);
    }

    // Colour and skin as stored, each index left one step ahead of what is shown, where the
    // next press steps from.
    colorIndex = settingToInt16(colorText).value_or(defaultColorIndex);
    if (colorIndex >= 0 && colorIndex < colorCount)
        Label1.ForeColor = colorTable[static_cast<std::size_t>(colorIndex)].startUp;
    Label3.ForeColor = Label1.ForeColor;
    colorIndex = advanceIndex(colorIndex, colorCount);
    skinIndex = settingToInt16(skinText).value_or(defaultSkinIndex);
    if (skinIndex >= 0 && skinIndex < skinCount)
        Picture1.Picture = pictureBox(skinTable[static_cast<std::size_t>(skinIndex)]).Picture;
    skinIndex = advanceIndex(skinIndex, skinCount);

    // A clock left scrolling its memo comes back scrolling it; an empty memo becomes the
    // default one, stored.
    savedLabelMode = settingToInt16(readSetting(setting::faceShowedTime).value_or("")).value_or(0);
    Text2.Text = withoutPadding(readSetting(setting::memo).value_or(""));
    scrollOn = settingToInt16(readSetting(setting::scrollMode).value_or("")).value_or(0);
    if (!Text2.Text.empty()) {
        Label1.setCaption(savedLabelMode == 2 && scrollOn == 1 ? Text2.Text : timeText());
    } else {
        Label1.setCaption(timeText());
        Text2.Text = std::string(defaultMemo);
        writeSetting(setting::memo, Text2.Text);
    }

    // The stored power-off time is armed again, shown in its field and its label as an
    // applied entry is.
    shutdownField().setText(storedTime);
    Label2.setCaption(shutdownField().text());
    shutdownTime = platform_.parseDateOrTime(shutdownField().text()).value_or(TimeOfDay());
    shutdownEntryStarted = 1;

    // The hot-key window, then the clock window, which takes the keyboard on its face.
    if (!form2_) {
        form2_ = std::make_unique<Form2>(build_, platform_, [this] { SaveWindowState(); });
        form2_->Form_Load();
    }
    platform_.showWindow(ControlId::Form2);
    platform_.showWindow(ControlId::Form1);
    focus_ = ControlId::Picture1;

    // The clock starts at rest: no entry under way, a full count of ticks for a blink, no
    // reminder time, and the start's time as the reminder's message.
    shutdownEntryStarted = 0;
    shutdownEntryDone = 0;
    ticksLeft = ticksAtRest;
    reminderField().setText("00:00:00");
    Text1.Text = platform_.longTimeText(platform_.now().timeOfDay());

    // Above every window: a strip this small, with no frame, is otherwise lost behind them.
    platform_.makeTopmost(ControlId::Form1);
}

}  // namespace horatta
