#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSocketNotifier;

namespace horatta::shell {

// A later start of either program, while a clock runs, asks the running clock to show
// itself and ends: a user who starts the clock again because it is hidden or lost gets it
// back in front, and still only one clock runs. The running clock listens on a local socket
// of the user's own: in the runtime folder (only the user can reach it, and it goes with
// the session), else beside the one-clock lock. A socket rather than an X11 message: the
// later start needs no display connection and no search through the windows to find the
// clock, and an answer tells it the clock heard it.
QString showRequestSocket(const QString& settingsFile);

// Listens while it lives, for the holder of the one-clock lock only (it replaces a socket a
// clock that ended left behind). Each request from the same user calls `show` on the
// clock's thread, after the answer is on its way; nothing here waits.
class LaterStarts : public QObject {
public:
    LaterStarts(const QString& socketPath, std::function<void()> show);
    ~LaterStarts() override;
    LaterStarts(const LaterStarts&) = delete;
    LaterStarts& operator=(const LaterStarts&) = delete;

    bool listening() const { return fd_ >= 0; }

private:
    void accept();
    void read(int client, QSocketNotifier* notifier);

    QByteArray path_;
    int fd_ = -1;
    std::function<void()> show_;
};

// Asks the running clock to show itself; true once it has answered. Gives up after
// `waitMs` (a clock still starting may not listen yet, one that hangs never answers).
bool askRunningClockToShow(const QString& socketPath, int waitMs);

}  // namespace horatta::shell
