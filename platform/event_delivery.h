#pragma once

#include <deque>
#include <functional>

namespace horatta {

// How a shell hands the clock window its events, decided once for both shells.
//
// Handlers run on the clock's thread one after another; only a handler that runs a nested
// loop of the desktop (a drag of the strip) lets others in before it has returned. What the
// user does meanwhile waits and is handled, in the order it was made, once that handler is
// over: a second press or a key must meet the state the first one left, and none is lost.
// (A drag owns the keyboard while it runs: Escape puts the strip back, other keys go nowhere.)
// A timer's tick and the session's end do not wait: the face goes on ticking under a drag,
// and a log-out during one still stores what the user set. A change of the screens waits
// too, and counts once however often it came: the drag holds the window's place till then.
class EventDelivery {
public:
    enum class Kind {
        Input,    // a press, a release, a key, the focus moved by the user
        Tick,     // a timer, the session ending, a repaint asked for by the desktop
        Screens,  // the screens were added, removed or resized
    };
    // `after` runs after every handler, nested ones too: the shell shows the model; `outermost`
    // tells that no handler runs any more (the time to move the keyboard focus, say).
    using After = std::function<void(Kind kind, bool outermost)>;

    explicit EventDelivery(After after = {});

    void deliver(Kind kind, std::function<void()> event);
    // A handler is running: what the user does now waits.
    bool running() const { return depth_ > 0; }
    // The program has ended: nothing more runs, and what waited is dropped.
    void stop();
    bool stopped() const { return stopped_; }

private:
    void run(Kind kind, const std::function<void()>& event);

    After after_;
    std::deque<std::function<void()>> waiting_;
    std::function<void()> screens_;
    int depth_ = 0;
    bool stopped_ = false;
};

}  // namespace horatta
