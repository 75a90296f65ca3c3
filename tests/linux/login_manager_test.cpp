// The power-off against a fake login manager on private buses. The process's system bus is
// pointed at a private bus before anything can reach for the real one.
#include "linux/power/login_manager.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "sandbox.h"

namespace horatta::power {
namespace {

using e2e::FakeLoginManager;
using e2e::PrivateBus;

e2e::PrivateBus* systemBus = nullptr;

TEST(LoginManager, AsksThePowerOffWithoutInteraction) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running());
    FakeLoginManager manager(bus.address());
    ASSERT_TRUE(manager.running());

    LoginManager login(bus.address());
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    EXPECT_TRUE(login.powerOff());
    const auto calls = manager.waitForCalls(1, 5000);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].interactive, "false");
    EXPECT_GE(calls[0].atMs, before);

    // Every call is a new request: the clock asks again on each tick of the set second.
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(manager.waitForCalls(2, 5000).size(), 2u);
}

TEST(LoginManager, UsesTheSystemBus) {
    FakeLoginManager manager(systemBus->address());
    ASSERT_TRUE(manager.running());
    LoginManager login;
    EXPECT_TRUE(login.powerOff());
    const auto calls = manager.waitForCalls(1, 5000);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].interactive, "false");
}

TEST(LoginManager, NoLoginManagerOnTheBusIsNoHarm) {
    PrivateBus bus;
    ASSERT_TRUE(bus.running());
    LoginManager login(bus.address());
    EXPECT_TRUE(login.powerOff());  // handed to the bus; the bus answers with an error nobody waits for
    EXPECT_TRUE(login.powerOff());
    // A login manager that turns up later is reached on the same connection.
    FakeLoginManager manager(bus.address());
    ASSERT_TRUE(manager.running());
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(manager.waitForCalls(1, 5000).size(), 1u);
}

TEST(LoginManager, NoBusIsNoHarm) {
    QTemporaryDir dir;
    LoginManager login(QStringLiteral("unix:path=%1/no-bus-here").arg(dir.path()));
    EXPECT_FALSE(login.powerOff());
    EXPECT_FALSE(login.powerOff());
}

TEST(LoginManager, ReconnectsWhenTheBusComesBack) {
    QTemporaryDir dir;
    const QString address = QStringLiteral("unix:path=%1/bus").arg(dir.path());
    auto bus = std::make_unique<PrivateBus>(address);
    ASSERT_TRUE(bus->running());
    LoginManager login(address);
    EXPECT_TRUE(login.powerOff());

    bus.reset();
    QDeadlineTimer deadline(5000);
    while (login.powerOff() && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_FALSE(login.powerOff()) << "the bus is gone";

    bus = std::make_unique<PrivateBus>(address);
    ASSERT_TRUE(bus->running());
    FakeLoginManager manager(address);
    ASSERT_TRUE(manager.running());
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(manager.waitForCalls(1, 5000).size(), 1u);
}

TEST(PowerOffFlags, OnlyShutDownOrPowerOffAskForIt) {
    struct Case {
        std::uint32_t flags;
        bool powersOff;
    };
    for (const Case c : {Case{13, true}, Case{1, true}, Case{8, true}, Case{9, true}, Case{5, true},
                         Case{0, false}, Case{4, false}, Case{2, false}, Case{16, false}}) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(flagsRequestPowerOff(c.flags), c.powersOff);
    }
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
