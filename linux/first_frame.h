#pragma once

#include <functional>

namespace horatta::shell::first_frame {

// What the user does not see at once (the window icon, the hot key's grabs) waits until
// the face is on screen, so that a start shows the time as soon as a bare Qt window would.
// Runs the work now once the face has been painted, otherwise just after that paint, or
// after a second should the face never be painted (a display that never exposes it).
void after(std::function<void()> work);

// Called by the face's paint; only the first call counts.
void painted();

}  // namespace horatta::shell::first_frame
