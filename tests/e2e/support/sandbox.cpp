#include "sandbox.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace horatta::e2e {

namespace {

// Reads the first line a child prints, waiting at most the timeout.
QString firstLine(QProcess& process, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine() && !deadline.hasExpired()) {
        if (process.state() == QProcess::NotRunning) return {};
        process.waitForReadyRead(50);
    }
    return process.canReadLine() ? QString::fromUtf8(process.readLine()).trimmed() : QString();
}

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}  // namespace

VirtualDisplay::VirtualDisplay(int width, int height) {
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x%2x24").arg(width).arg(height), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
    const QString number = firstLine(server_, 10000);
    if (!number.isEmpty()) display_ = QLatin1Char(':') + number;
}

VirtualDisplay::~VirtualDisplay() { stopProcess(server_); }

PrivateBus::PrivateBus(const QString& listenAddress) {
    QStringList arguments{QStringLiteral("--config-file=" HORATTA_E2E_DIR "/system_bus.conf"),
                          QStringLiteral("--nofork"), QStringLiteral("--print-address=1")};
    if (!listenAddress.isEmpty()) arguments << QStringLiteral("--address=") + listenAddress;
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    daemon_.start(QStringLiteral("dbus-daemon"), arguments);
    address_ = firstLine(daemon_, 10000);
}

PrivateBus::~PrivateBus() { stop(); }

void PrivateBus::stop() {
    stopProcess(daemon_);
    address_.clear();
}

FakeLoginManager::FakeLoginManager(const QString& busAddress) {
    record_ = dir_.filePath(QStringLiteral("power-off.log"));
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QStringLiteral(HORATTA_FAKE_LOGIN_MANAGER), {busAddress, record_});
    ready_ = firstLine(process_, 10000) == QLatin1String("ready");
}

FakeLoginManager::~FakeLoginManager() { stopProcess(process_); }

std::vector<PowerOffCall> FakeLoginManager::calls() const {
    std::vector<PowerOffCall> found;
    QFile file(record_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return found;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char(' '));
        if (fields.size() == 3 && fields[0] == QLatin1String("PowerOff")) {
            found.push_back({fields[1], fields[2].toLongLong()});
        }
    }
    return found;
}

std::vector<PowerOffCall> FakeLoginManager::waitForCalls(std::size_t count, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    std::vector<PowerOffCall> found = calls();
    while (found.size() < count && !deadline.hasExpired()) {
        QThread::msleep(20);
        found = calls();
    }
    return found;
}

int run(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace horatta::e2e
