#include "linux/power/login_manager.h"

#include <QAtomicInt>
#include <QDBusConnection>
#include <QDBusMessage>

#include <utility>

namespace horatta::power {

namespace {

constexpr std::uint32_t shutdownFlag = 1;
constexpr std::uint32_t powerOffFlag = 8;

QString uniqueConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("horatta-login-manager-%1").arg(counter.fetchAndAddRelaxed(1));
}

}  // namespace

bool flagsRequestPowerOff(std::uint32_t flags) { return (flags & (shutdownFlag | powerOffFlag)) != 0; }

LoginManager::LoginManager(QString busAddress)
    : busAddress_(std::move(busAddress)), connectionName_(uniqueConnectionName()) {}

LoginManager::~LoginManager() { QDBusConnection::disconnectFromBus(connectionName_); }

bool LoginManager::powerOff() {
    // A private connection, made again whenever the last one has dropped: the system bus
    // may have been restarted since the clock started, and the default system-bus
    // connection of Qt never reconnects.
    QDBusConnection bus(connectionName_);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(connectionName_);
        bus = busAddress_.isEmpty()
                  ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName_)
                  : QDBusConnection::connectToBus(busAddress_, connectionName_);
        if (!bus.isConnected()) return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false;  // not interactive: never ask for a password
    // Sent without waiting for the reply, as the power-off on the other side may take the
    // bus down before it answers, and the clock's tick must not stall on it.
    return bus.send(call);
}

}  // namespace horatta::power
