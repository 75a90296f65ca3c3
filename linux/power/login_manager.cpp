#include "linux/power/login_manager.h"

#include <QAtomicInt>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
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

// Shared with the bus thread, which outlives the LoginManager when a bus never greets it.
struct LoginManager::State {
    State(QString address, std::chrono::milliseconds limit)
        : busAddress(std::move(address)), connectionName(uniqueConnectionName()), timeLimit(limit) {}
    ~State() { QDBusConnection::disconnectFromBus(connectionName); }

    const QString busAddress;
    const QString connectionName;
    const std::chrono::milliseconds timeLimit;
    std::atomic<bool> pending{false};
    std::atomic<Outcome> outcome{Outcome::None};

    void end(Outcome how) {
        outcome = how;
        pending = false;
    }

    // On the bus thread.
    void request(QObject* context) {
        // A private connection, made again whenever the last one has dropped: the system bus
        // may have been restarted since the clock started, and the default system-bus
        // connection of Qt never reconnects.
        QDBusConnection bus(connectionName);
        if (!bus.isConnected()) {
            QDBusConnection::disconnectFromBus(connectionName);
            bus = busAddress.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName)
                                       : QDBusConnection::connectToBus(busAddress, connectionName);
            if (!bus.isConnected()) return end(Outcome::NoBus);
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
        call << false;  // not interactive: never ask for a password
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, int(timeLimit.count())), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [this, watcher] {
            const QDBusError::ErrorType error = watcher->error().type();
            watcher->deleteLater();
            if (!watcher->isError()) return end(Outcome::Accepted);
            // The power-off on the other side may take the bus down before it answers.
            if (error == QDBusError::Disconnected) return end(Outcome::NoBus);
            end(error == QDBusError::NoReply || error == QDBusError::Timeout ? Outcome::NoAnswer : Outcome::Refused);
        });
    }
};

bool flagsRequestPowerOff(std::uint32_t flags) { return (flags & (shutdownFlag | powerOffFlag)) != 0; }

LoginManager::LoginManager(QString busAddress, std::chrono::milliseconds timeLimit)
    : state_(std::make_shared<State>(std::move(busAddress), timeLimit)), thread_(new QThread), context_(new QObject) {
    thread_->setObjectName(QStringLiteral("login manager"));
    context_->moveToThread(thread_);
    thread_->start();
}

LoginManager::~LoginManager() {
    thread_->quit();
    // A thread still waiting for a silent bus's greeting is left to the end of the process.
    if (!thread_->wait(QDeadlineTimer(500))) return;
    delete context_;
    delete thread_;
}

bool LoginManager::powerOff() {
    if (state_->pending.exchange(true)) return false;
    QMetaObject::invokeMethod(context_, [state = state_, context = context_] { state->request(context); });
    return true;
}

bool LoginManager::pending() const { return state_->pending; }

LoginManager::Outcome LoginManager::lastOutcome() const { return state_->outcome; }

}  // namespace horatta::power
