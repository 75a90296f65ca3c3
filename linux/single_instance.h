#pragma once

#include <QString>

#include "linux/settings_registry.h"

namespace horatta::shell {

// One clock per user: both programs share the settings file, and a second clock would
// fight the first over the hot key and overwrite its settings. The first start holds a
// lock beside the settings file for as long as it runs (the system lets it go with the
// process, however it ends). Returns false when another clock holds it; a lock that
// cannot be taken at all lets the clock run. When another clock runs, asks it to show itself
// (waiting half a second at most for its answer) and says so in one line on standard error.
bool becomeTheOnlyClock(const QString& settingsFile = SettingsRegistry::defaultFilePath());

}  // namespace horatta::shell
