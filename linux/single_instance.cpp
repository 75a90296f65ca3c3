#include "linux/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "linux/ini_registry.h"

namespace horatta::shell {

bool becomeTheOnlyClock() {
    const QString settingsFile = IniRegistry::defaultFilePath();
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    const QByteArray lock = (settingsFile + ".running").toLocal8Bit();
    // Left open on purpose: the lock lasts as long as the process.
    const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (held)
        std::fprintf(stderr, "%s: a clock is already running for this user\n",
                     qPrintable(QCoreApplication::applicationName()));
    return !held;
}

}  // namespace horatta::shell
