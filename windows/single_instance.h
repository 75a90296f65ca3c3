#pragma once

namespace horatta::win {

// One clock per user: both programs share the settings, and a second clock would fight
// the first over the hot key and overwrite its settings. The first start holds a named
// mutex of the user's session for as long as it runs; a later start says so in one line
// on standard error and returns false.
bool becomeTheOnlyClock(const char* programName);

}  // namespace horatta::win
