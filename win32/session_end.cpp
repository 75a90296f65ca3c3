#include "win32/shell.h"

namespace horatta::shell {

// The ways the desktop ends the clock from outside. Each stores what the handle's
// save-and-exit stores; only an end that is certain also ends the program.
std::optional<LRESULT> Shell::sessionMessage(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            // A log-off or shutdown asks; it may still be cancelled by another program, so
            // the clock stores what the handle's save-and-exit stores and runs on.
            deliver(Kind::Tick, [this] { form_->SaveWindowState(); });
            return TRUE;
        case WM_ENDSESSION:
            // The session does end: store again (the face may have moved on) and leave.
            if (wParam) deliver(Kind::Tick, [this] { form_->EndSession(); });
            return 0;
        case WM_CLOSE:
            // Asked to close (an installer about to replace or remove the program, a task
            // list, Alt+F4): the user is done with the clock, which leaves as the handle's
            // save-and-exit does.
            deliver(Kind::Tick, [this] { form_->EndSession(); });
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace horatta::shell
