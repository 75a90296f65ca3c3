#include "linux/running_clock.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace horatta::shell {

namespace {

constexpr char request[] = "show\n";
constexpr char answer[] = "shown\n";
// A connection that asks nothing is dropped after this long.
constexpr int requestWaitMs = 1000;

bool addressOf(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

int newSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

bool sameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

std::int64_t msLeft(std::chrono::steady_clock::time_point until) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
}

bool await(int fd, short events, std::chrono::steady_clock::time_point until) {
    for (;;) {
        const std::int64_t left = msLeft(until);
        if (left <= 0) return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left));
        if (n > 0) return (p.revents & events) != 0;
        if (n < 0 && errno != EINTR) return false;
    }
}

}  // namespace

QString showRequestSocket(const QString& settingsFile) {
    const QString absolute = QFileInfo(settingsFile).absoluteFilePath();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime).isDir()) return absolute + ".show";
    // One clock per settings file, as the lock is: the socket is named after the file.
    const QByteArray hash = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return runtime + "/horatta-" + QString::fromLatin1(hash);
}

LaterStarts::LaterStarts(const QString& socketPath, std::function<void()> show)
    : path_(QFile::encodeName(socketPath)), show_(std::move(show)) {
    sockaddr_un address;
    if (!addressOf(path_, address)) return;
    // Only a socket is replaced: it can be no more than a clock's leftover, since the lock is ours.
    struct stat info{};
    if (::lstat(path_.constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) return;
        ::unlink(path_.constData());
    }
    fd_ = newSocket();
    if (fd_ < 0) return;
    const mode_t mask = ::umask(077);
    const bool bound = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd_, 4) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    auto* notifier = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] { accept(); });
}

LaterStarts::~LaterStarts() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(path_.constData());
}

void LaterStarts::accept() {
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) return;
    if (!sameUser(client)) {
        ::close(client);
        return;
    }
    auto* notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, client, notifier] { read(client, notifier); });
    // The notifier owns the connection: when it goes, so does the connection.
    connect(notifier, &QObject::destroyed, [client] { ::close(client); });
    QTimer::singleShot(requestWaitMs, notifier, [notifier] { notifier->deleteLater(); });
}

void LaterStarts::read(int client, QSocketNotifier* notifier) {
    char buffer[sizeof request]{};
    const ssize_t n = ::recv(client, buffer, sizeof buffer - 1, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    // A connection asks once, in one piece (a few bytes on a local socket), or not at all.
    notifier->setEnabled(false);
    notifier->deleteLater();
    if (n != static_cast<ssize_t>(sizeof request - 1) || std::memcmp(buffer, request, sizeof request - 1) != 0) return;
    // Answered first: the later start ends while the clock shows itself.
    ::send(client, answer, sizeof answer - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    show_();
}

bool askRunningClockToShow(const QString& socketPath, int waitMs) {
    sockaddr_un address;
    if (!addressOf(QFile::encodeName(socketPath), address)) return false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const int fd = newSocket();
        if (fd < 0) return false;
        int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (result != 0 && (errno == EINPROGRESS || errno == EAGAIN)) {
            int error = 0;
            socklen_t size = sizeof error;
            result = await(fd, POLLOUT, until) && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0
                         ? 0
                         : -1;
        }
        if (result == 0) {
            char buffer[sizeof answer]{};
            const bool answered = ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL) ==
                                      static_cast<ssize_t>(sizeof request - 1) &&
                                  await(fd, POLLIN, until) && ::recv(fd, buffer, sizeof buffer - 1, 0) > 0 &&
                                  std::strcmp(buffer, answer) == 0;
            ::close(fd);
            return answered;
        }
        ::close(fd);
        // A clock that is still starting does not listen yet: ask again shortly.
        if (msLeft(until) <= 50) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace horatta::shell
