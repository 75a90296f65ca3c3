#include "linux/session_end.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace horatta::shell {

namespace {

constexpr int endingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Written by the signal handler, read by the event loop. Only async-signal-safe calls here.
volatile sig_atomic_t signalPipe = -1;

void onSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    // A full pipe already holds an unanswered request: this one adds nothing.
    if (signalPipe >= 0 && ::write(signalPipe, &byte, 1) < 0) {}
    errno = savedErrno;
}

// The one session end that the process's exit reaches.
SessionEnd* active = nullptr;

}  // namespace

void endProcessNow(int status) {
    // Not even standard output is flushed: the running clock writes nothing there, and a
    // pipe nobody reads would hold the end for good.
    ::_exit(status);
}

SessionEnd::SessionEnd(std::function<void()> ending, std::function<void()> committing)
    : ending_(std::move(ending)), committing_(std::move(committing)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::signalled);
        signalPipe = pipe_[1];
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int number : endingSignals) {
            // A signal the clock was started to ignore (nohup, a background job) stays ignored.
            struct sigaction inherited = {};
            if (::sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) continue;
            ::sigaction(number, &action, nullptr);
        }
    }
    // The toolkit ends the process itself when the X display goes away (a log-out, a crash
    // of the server): the exit still stores what the user set, and waits for nothing.
    static const bool atExitSet = std::atexit(&SessionEnd::atExit) == 0;
    (void)atExitSet;
    active = this;
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SessionEnd::end);
#ifndef QT_NO_SESSIONMANAGER
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this] {
            if (!ended_ && committing_) committing_();
        });
#endif
}

SessionEnd::~SessionEnd() {
    if (active == this) active = nullptr;
    if (pipe_[0] < 0) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : endingSignals) {
        struct sigaction current = {};
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == onSignal)
            ::sigaction(number, &action, nullptr);
    }
    signalPipe = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void SessionEnd::signalled() {
    char bytes[64];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {}
    end();
}

void SessionEnd::end() {
    if (ended_) return;
    ended_ = true;
    ending_();
}

void SessionEnd::atExit() {
    if (!active) return;
    // Another thread's exit would race the clock's own thread over the model: it only ends.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) active->end();
    endProcessNow(EXIT_FAILURE);
}

}  // namespace horatta::shell
