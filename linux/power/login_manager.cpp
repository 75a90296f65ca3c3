#include "linux/power/login_manager.h"

#include <QAtomicInt>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

namespace horatta::power {

namespace {

constexpr std::uint32_t shutdownFlag = 1;
constexpr std::uint32_t powerOffFlag = 8;

QString uniqueConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("horatta-login-manager-%1").arg(counter.fetchAndAddRelaxed(1));
}

QDBusMessage managerCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                                          QStringLiteral("org.freedesktop.login1.Manager"), method);
}

// Whether the locks listed (what, who, why, mode, uid, pid for each) hold a power-off back;
// nothing when the answer is not such a list.
std::optional<bool> powerOffHeldBack(const QDBusMessage& reply) {
    if (reply.signature() != QLatin1String("a(ssssuu)")) return std::nullopt;
    const auto list = reply.arguments().at(0).value<QDBusArgument>();
    bool held = false;
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        held = held || inhibitorBlocksPowerOff(what, mode);
    }
    list.endArray();
    return held;
}

LoginManager::Outcome outcomeOfError(QDBusError::ErrorType error) {
    using Outcome = LoginManager::Outcome;
    // The power-off on the other side may take the bus down before it answers.
    if (error == QDBusError::Disconnected) return Outcome::NoBus;
    return error == QDBusError::NoReply || error == QDBusError::Timeout ? Outcome::NoAnswer : Outcome::Refused;
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
        // Another program may hold the power-off back while it would do harm (a firmware
        // update, a disc being burnt). The login manager may let the lock's own user through,
        // so the clock looks first and does not ask while such a lock is held.
        const QDeadlineTimer deadline(timeLimit);
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(managerCall(QStringLiteral("ListInhibitors")),
                                                                  int(timeLimit.count())),
                                                    context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [this, watcher, context, deadline] {
            watcher->deleteLater();
            if (watcher->isError()) {
                // A login manager without the listing keeps no locks to respect. One that
                // does not answer it, or refuses, is not asked to power off blind.
                const QDBusError::ErrorType error = watcher->error().type();
                if (error != QDBusError::UnknownMethod && error != QDBusError::UnknownInterface)
                    return end(outcomeOfError(error));
            } else if (const std::optional<bool> held = powerOffHeldBack(watcher->reply()); !held) {
                return end(Outcome::Refused);
            } else if (*held) {
                return end(Outcome::HeldBack);
            }
            if (deadline.hasExpired()) return end(Outcome::NoAnswer);
            askPowerOff(context, deadline);
        });
    }

    // On the bus thread.
    void askPowerOff(QObject* context, const QDeadlineTimer& deadline) {
        QDBusMessage call = managerCall(QStringLiteral("PowerOff"));
        call << false;  // not interactive: never ask for a password
        auto* watcher = new QDBusPendingCallWatcher(
            QDBusConnection(connectionName).asyncCall(call, int(std::max<qint64>(1, deadline.remainingTime()))), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [this, watcher] {
            watcher->deleteLater();
            end(watcher->isError() ? outcomeOfError(watcher->error().type()) : Outcome::Accepted);
        });
    }
};

bool inhibitorBlocksPowerOff(const QString& what, const QString& mode) {
    // "block-weak" is a block too; only its override differs, and the clock overrides nothing.
    return mode.split(u'-').front() == QLatin1String("block") && what.split(u':').contains(QLatin1String("shutdown"));
}

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
