// The power-off against a fake login manager on private buses. The process's system bus is
// pointed at a private bus before anything can reach for the real one.
#include "linux/power/login_manager.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "sandbox.h"

namespace horatta::power {
namespace {

using e2e::FakeLoginManager;
using e2e::PrivateBus;
using Outcome = LoginManager::Outcome;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

e2e::PrivateBus* systemBus = nullptr;

// How the request ended, once it has.
Outcome settled(const LoginManager& login, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (login.pending() && !deadline.hasExpired()) QThread::msleep(10);
    return login.pending() ? Outcome::None : login.lastOutcome();
}

TEST(LoginManager, AsksTheSystemBusForThePowerOffWithoutInteraction) {
    FakeLoginManager manager(systemBus->address());
    ASSERT_TRUE(manager.running());
    LoginManager login;
    // Every call is a new request once the last one is answered.
    for (int call = 0; call < 2; ++call) {
        EXPECT_TRUE(login.powerOff());
        EXPECT_EQ(settled(login), Outcome::Accepted);
    }
    EXPECT_EQ(manager.waitForCalls(2, 5000), (std::vector<QString>{"false", "false"}));
}

TEST(LoginManager, ABusOrManagerThatNeverAnswersHoldsNothingUp) {
    // A bus that takes the connection and never greets it: nobody accepts on the socket.
    QTemporaryDir dir;
    const QByteArray silent = (dir.path() + "/silent").toLocal8Bit();
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::strncpy(where.sun_path, silent.constData(), sizeof where.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    FakeLoginManager manager(systemBus->address(), FakeLoginManager::Answers::None);
    ASSERT_TRUE(manager.running());

    const struct {
        const char* what;
        QString address;
        Outcome after;  // with the short time limit
    } cases[] = {
        {"a login manager that never answers", systemBus->address(), Outcome::NoAnswer},
        {"a bus that never greets", "unix:path=" + QString::fromLocal8Bit(silent), Outcome::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = Clock::now();
        {
            LoginManager login(c.address, 300ms);
            EXPECT_TRUE(login.powerOff());
            EXPECT_FALSE(login.powerOff()) << "a request on its way is not sent twice";
            EXPECT_LT(Clock::now() - start, 100ms);
            EXPECT_EQ(settled(login, c.after == Outcome::None ? 0 : 2000), c.after);
            if (c.after == Outcome::NoAnswer) {
                EXPECT_TRUE(login.powerOff()) << "asked again once given up";
            }
        }
        EXPECT_LT(Clock::now() - start, 3s) << "the end of the program does not wait for the bus either";
    }
    EXPECT_EQ(manager.waitForCalls(2, 5000).size(), 2u);
    ::close(listener);
}

TEST(LoginManager, ReconnectsWhenTheBusComesBack) {
    QTemporaryDir dir;
    const QString address = QStringLiteral("unix:path=%1/bus").arg(dir.path());
    auto bus = std::make_unique<PrivateBus>(address);
    ASSERT_TRUE(bus->running());
    LoginManager login(address);
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(settled(login), Outcome::Refused) << "nobody owns the login manager's name";

    bus.reset();
    QDeadlineTimer deadline(5000);
    while (login.powerOff() && settled(login) != Outcome::NoBus && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_EQ(login.lastOutcome(), Outcome::NoBus) << "the bus is gone";

    bus = std::make_unique<PrivateBus>(address);
    ASSERT_TRUE(bus->running());
    FakeLoginManager manager(address);
    ASSERT_TRUE(manager.running());
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(settled(login), Outcome::Accepted);
    EXPECT_EQ(manager.waitForCalls(1, 5000).size(), 1u);
}

TEST(PowerOffFlags, OnlyShutDownOrPowerOffAskForIt) {
    for (std::uint32_t flags : {13, 1, 8}) EXPECT_TRUE(flagsRequestPowerOff(flags)) << flags;
    for (std::uint32_t flags : {0, 4, 2, 16}) EXPECT_FALSE(flagsRequestPowerOff(flags)) << flags;
}

}  // namespace
}  // namespace horatta::power

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    horatta::e2e::PrivateBus bus;
    if (!bus.running()) {
        std::fprintf(stderr, "cannot start a private dbus-daemon\n");
        return 1;
    }
    // Before the first D-Bus call: libdbus reads the system bus address once.
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address().toLocal8Bit().constData(), 1);
    horatta::power::systemBus = &bus;
    return RUN_ALL_TESTS();
}
