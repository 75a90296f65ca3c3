// The power-off against the fake login manager on private buses. The process's system bus is
// pointed at a private bus before anything can reach for the real one.
#include "linux/power/login_manager.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace horatta::power {
namespace {

using Outcome = LoginManager::Outcome;
using namespace std::chrono_literals;

// A program that says it is ready with its first line of output; stopped when this goes.
struct Child {
    Child(const QString& program, const QStringList& arguments) {
        process.start(program, arguments);
        for (QDeadlineTimer deadline(10000); !process.canReadLine() && !deadline.hasExpired() && process.state() != QProcess::NotRunning;)
            process.waitForReadyRead(50);
        if (process.canReadLine()) firstLine = QString::fromUtf8(process.readLine()).trimmed();
    }
    ~Child() { process.kill(), process.waitForFinished(3000); }
    QProcess process;
    QString firstLine;
};

// A dbus-daemon configured like a system bus where anyone may own any name.
struct PrivateBus : Child {
    explicit PrivateBus(const QString& address = {})
        : Child("dbus-daemon", QStringList{"--config-file=" HORATTA_E2E_DIR "/system_bus.conf", "--nofork", "--print-address=1"} +
                                   (address.isEmpty() ? QStringList() : QStringList{"--address=" + address})) {}
};
QString systemBus;

// The fake login manager, recording every call, with the locks written in its inhibitors file.
struct FakeLoginManager {
    explicit FakeLoginManager(const QString& bus, const QStringList& options = {})
        : process(HORATTA_FAKE_LOGIN_MANAGER, options + QStringList{"--inhibitors", dir.filePath("locks"), bus, dir.filePath("calls")}) {}
    // The interactive argument of each call, once at least count have come (or 5 s have passed).
    QStringList calls(int count, const QString& method = "PowerOff") const {
        for (QDeadlineTimer deadline(count > 0 ? 5000 : 0);; QThread::msleep(20)) {
            QFile file(dir.filePath("calls"));
            QStringList found;
            for (const QString& line : QString::fromUtf8(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()).split('\n'))
                if (line.section(' ', 0, 0) == method) found << line.section(' ', 1, 1);
            if (found.size() >= count || deadline.hasExpired()) return found;
        }
    }
    void holdLocks(const QByteArray& lines) const {
        QFile file(dir.filePath("locks"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(lines);
    }
    QTemporaryDir dir;
    Child process;
};

Outcome settled(const LoginManager& login, int timeoutMs = 5000) {
    for (QDeadlineTimer deadline(timeoutMs); login.pending() && !deadline.hasExpired();) QThread::msleep(10);
    return login.pending() ? Outcome::None : login.lastOutcome();
}
// A power-off asked and answered; None when it could not even be asked.
Outcome askedOnce(LoginManager& login) { return login.powerOff() ? settled(login) : Outcome::None; }

TEST(LoginManager, ABusOrManagerThatNeverAnswersHoldsNothingUp) {
    // A bus that takes the connection and never greets it: nobody accepts on the socket.
    QTemporaryDir dir;
    const QByteArray silent = (dir.path() + "/silent").toLocal8Bit();
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un where{AF_UNIX, {}};
    std::strncpy(where.sun_path, silent.constData(), sizeof where.sun_path - 1);
    ASSERT_TRUE(::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 && ::listen(listener, 4) == 0);
    FakeLoginManager manager(systemBus, {"--never-answer"});
    const struct { const char* what; QString address; Outcome after; /* with the short time limit */ } cases[] = {
        {"a login manager that never answers", systemBus, Outcome::NoAnswer},
        {"a bus that never greets", "unix:path=" + QString::fromLocal8Bit(silent), Outcome::None}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = std::chrono::steady_clock::now();
        {
            LoginManager login(c.address, 300ms);
            EXPECT_TRUE(login.powerOff() && !login.powerOff()) << "asked, and a request on its way is not sent twice";
            EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
            EXPECT_EQ(settled(login, c.after == Outcome::None ? 0 : 2000), c.after);
            EXPECT_EQ(login.powerOff(), c.after == Outcome::NoAnswer) << "asked again once given up, not while the bus holds it";
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "the end of the program does not wait either";
    }
    EXPECT_EQ(manager.calls(2, "ListInhibitors").size(), 2);
    EXPECT_EQ(manager.calls(0).size(), 0) << "no power-off asked while the locks are unknown";
    ::close(listener);
}

// And the login manager on the bus that came back keeps no locks: it is asked all the same.
TEST(LoginManager, ReconnectsWhenTheBusComesBack) {
    QTemporaryDir dir;
    const QString address = QStringLiteral("unix:path=%1/bus").arg(dir.path());
    auto bus = std::make_unique<PrivateBus>(address);
    LoginManager login(address);
    EXPECT_EQ(askedOnce(login), Outcome::Refused) << "nobody owns the login manager's name";
    bus.reset();
    for (QDeadlineTimer deadline(5000); login.powerOff() && settled(login) != Outcome::NoBus && !deadline.hasExpired();) QThread::msleep(20);
    EXPECT_EQ(login.lastOutcome(), Outcome::NoBus);
    bus = std::make_unique<PrivateBus>(address);
    FakeLoginManager manager(address, {"--no-inhibitor-list"});
    EXPECT_EQ(askedOnce(login), Outcome::Accepted);
    EXPECT_EQ(manager.calls(1), QStringList{"false"}) << "asked without interaction";
}

// Locks other programs hold, and whether the clock then asks: only a block on the power-off holds
// it back; the login manager honours the others itself.
TEST(LoginManager, AsksOnlyWhileNoLockBlocksThePowerOff) {
    FakeLoginManager manager(systemBus);
    const std::pair<const char*, bool> cases[] = {
        {"", true}, {"shutdown block fwupd Updating firmware\n", false}, {"shutdown delay NetworkManager\n", true},
        {"sleep block brasero Burning a disc\n", true}, {"sleep:shutdown block backup\n", false},
        {"idle:sleep:shutdown block-weak player\n", false}, {"shutdowns block nobody\n", true},
        {"handle-power-key:handle-suspend-key block desktop\nidle block player\n", true},
        {"sleep delay desktop\nshutdown:sleep delay desktop\nshutdown block udisks\n", false}};
    int asked = 0;
    for (const auto& [locks, asks] : cases) {
        SCOPED_TRACE(locks);
        manager.holdLocks(locks);
        LoginManager login(systemBus);
        EXPECT_EQ(askedOnce(login), asks ? Outcome::Accepted : Outcome::HeldBack);
        asked += asks;
        EXPECT_EQ(manager.calls(asked).size(), asked);
    }
    EXPECT_EQ(manager.calls(0).size(), asked) << "nothing asked late";
}

TEST(PowerOffFlags, OnlyShutDownOrPowerOffAskForIt) {
    for (std::uint32_t flags : {0, 1, 2, 4, 8, 13, 16}) EXPECT_EQ(flagsRequestPowerOff(flags), flags == 1 || flags == 8 || flags == 13) << flags;
}

}  // namespace
}  // namespace horatta::power

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    horatta::power::PrivateBus bus;
    if (bus.firstLine.isEmpty()) return std::fprintf(stderr, "cannot start a private dbus-daemon\n"), 1;
    // Before the first D-Bus call: libdbus reads the system bus address once.
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", (horatta::power::systemBus = bus.firstLine).toLocal8Bit().constData(), 1);
    return RUN_ALL_TESTS();
}
