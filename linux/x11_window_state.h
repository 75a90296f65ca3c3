#pragma once

class QWidget;

namespace horatta::shell {

// Asks the window manager to leave the window out of the taskbar and the pager or
// switcher (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER). Call it before the
// window is first shown, and again after: a manager reads the state when the window
// maps and takes changes to a mapped window as requests. Does nothing off X11.
void skipTaskbarAndPager(QWidget* window);

// Asks the window manager to show the window on every workspace (_NET_WM_STATE_STICKY and
// _NET_WM_DESKTOP 0xFFFFFFFF), so that the clock does not vanish when the user switches
// workspace. Call it as skipTaskbarAndPager, before and after the first show.
void showOnEveryWorkspace(QWidget* window);

// Asks the window manager to bring the window in front of every other and give it the
// keyboard, as a taskbar or pager asks for the user (_NET_RESTACK_WINDOW, _NET_ACTIVE_WINDOW):
// managers that turn down an application's own request to come forward grant the user's.
// Does nothing off X11 or without a manager; the window raises itself as well.
void bringToFrontOfOthers(QWidget* window);

// Whether any mouse button is down right now, asked of the X server itself; true when
// that cannot be asked, so that a caller waits for the release event instead.
bool pointerButtonDown();

}  // namespace horatta::shell
