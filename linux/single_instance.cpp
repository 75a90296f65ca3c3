#include "linux/single_instance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "linux/running_clock.h"
#include "linux/settings_file.h"

namespace horatta::shell {

bool becomeTheOnlyClock(const QString& settingsFile) {
    const QByteArray folder = QFileInfo(settingsFile).absolutePath().toLocal8Bit();
    settings_file::makeFolder(folder.toStdString());
    const QByteArray lock = (settingsFile + ".running").toLocal8Bit();
    // Left open on purpose: the lock lasts as long as the process.
    int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    struct stat info{};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) ::close(fd), fd = -1;
    // Where a link, a folder or anything but a file of ours takes the lock's name, or no file
    // can be made, the folder itself is locked, so that two clocks still keep each other out.
    if (fd < 0) fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    // The running clock shows itself, and this start ends: said also when it does not answer.
    if (held) askRunningClockToShow(showRequestSocket(settingsFile), 500);
    if (held)
        std::fprintf(stderr, "%s: a clock is already running for this user\n",
                     qPrintable(QCoreApplication::applicationName()));
    return !held;
}

}  // namespace horatta::shell
