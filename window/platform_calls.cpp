#include "settings/settings.h"
#include "window/form1.h"

namespace horatta {

// The form's own calls on its platform, shared by the handlers: the stored settings, the time
// as the face shows it, and a tone.

std::optional<std::string> Form1::readSetting(std::string_view name) {
    return ReadSetting(platform_.registry(), HKEY_LOCAL_MACHINE, settingsPath, name);
}

void Form1::writeSetting(std::string_view name, std::string_view value) {
    WriteSetting(platform_.registry(), HKEY_LOCAL_MACHINE, settingsPath, name, value);
}

void Form1::writeSettings(const SettingTexts& values) {
    WriteSettings(platform_.registry(), HKEY_LOCAL_MACHINE, settingsPath, values);
}

std::string Form1::timeText() { return platform_.now().timeOfDay().hms(); }

void Form1::Beep(int hz, int ms) {
    platform_.beep(hz, ms);
    beepResult = 1;
}

}  // namespace horatta
