#include "sandbox.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace horatta::e2e {

Child::Child(const QString& program, const QStringList& arguments) {
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(program, arguments);
    QDeadlineTimer deadline(10000);
    while (!process_.canReadLine() && !deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(50);
    }
    if (process_.canReadLine()) firstLine_ = QString::fromUtf8(process_.readLine()).trimmed();
}

Child::~Child() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

PrivateBus::PrivateBus(const QString& listenAddress)
    : daemon_("dbus-daemon",
              QStringList{"--config-file=" HORATTA_E2E_DIR "/system_bus.conf", "--nofork", "--print-address=1"} +
                  (listenAddress.isEmpty() ? QStringList() : QStringList{"--address=" + listenAddress})) {}

FakeLoginManager::FakeLoginManager(const QString& busAddress, Answers answers)
    : process_(HORATTA_FAKE_LOGIN_MANAGER, QStringList{busAddress, dir_.filePath("power-off.log")} +
                                               (answers == Answers::None ? QStringList{"--never-answer"} : QStringList{})) {}

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

}  // namespace horatta::e2e
