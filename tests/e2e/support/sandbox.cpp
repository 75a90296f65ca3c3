#include "sandbox.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace horatta::e2e {

namespace {

// Reads the first line a child prints, waiting at most ten seconds.
QString firstLine(QProcess& process) {
    QDeadlineTimer deadline(10000);
    while (!process.canReadLine() && !deadline.hasExpired()) {
        if (process.state() == QProcess::NotRunning) return {};
        process.waitForReadyRead(50);
    }
    return process.canReadLine() ? QString::fromUtf8(process.readLine()).trimmed() : QString();
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    const QString number = firstLine(server_);
    if (!number.isEmpty()) display_ = ':' + number;
}

VirtualDisplay::~VirtualDisplay() { stop(server_); }

PrivateBus::PrivateBus(const QString& listenAddress) {
    QStringList arguments{"--config-file=" HORATTA_E2E_DIR "/system_bus.conf", "--nofork", "--print-address=1"};
    if (!listenAddress.isEmpty()) arguments << "--address=" + listenAddress;
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    daemon_.start("dbus-daemon", arguments);
    address_ = firstLine(daemon_);
}

PrivateBus::~PrivateBus() { stop(daemon_); }

FakeLoginManager::FakeLoginManager(const QString& busAddress) {
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(HORATTA_FAKE_LOGIN_MANAGER, {busAddress, dir_.filePath("power-off.log")});
    ready_ = firstLine(process_) == "ready";
}

FakeLoginManager::~FakeLoginManager() { stop(process_); }

std::vector<QString> FakeLoginManager::waitForCalls(std::size_t count, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    std::vector<QString> found;
    for (;;) {
        found.clear();
        QFile file(dir_.filePath("power-off.log"));
        // One line a call: "PowerOff <interactive> <milliseconds since the epoch>".
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            while (!file.atEnd()) {
                const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(' ');
                if (fields.size() == 3 && fields[0] == "PowerOff") found.push_back(fields[1]);
            }
        }
        if (found.size() >= count || deadline.hasExpired()) return found;
        QThread::msleep(20);
    }
}

int run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace horatta::e2e
