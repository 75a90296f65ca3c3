#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace horatta::shell {

// The ways the desktop ends the clock from outside, each turned into one call on the clock's
// own thread:
// - SIGTERM (what a log-out or a shutdown sends), SIGHUP (the session or the terminal went
//   away) and SIGINT (Ctrl+C in a terminal), unless the clock was started to ignore them;
// - the X display going away, which the toolkit answers by ending the process itself;
// - the session manager quitting the application.
// `ending` must end the process; it is called at most once. `committing` is the session
// manager asking for the user's data before a log-out, which may still be cancelled.
//
// A signal handler may do almost nothing safely: it only writes a byte into a pipe that the
// event loop watches, so the settings are never written from inside a handler, and a second
// signal while the first is being answered only adds a byte.
class SessionEnd : public QObject {
public:
    SessionEnd(std::function<void()> ending, std::function<void()> committing);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void signalled();
    static void atExit();
    void end();

    std::function<void()> ending_;
    std::function<void()> committing_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    bool ended_ = false;
};

// Ends the process now, with nothing waited for: no thread (a system bus that never
// answers, a tone on a stalled device) and no teardown of the toolkit or of static objects.
// Everything the clock stores is on disk by then: each write is made whole before it returns.
[[noreturn]] void endProcessNow(int status);

}  // namespace horatta::shell
