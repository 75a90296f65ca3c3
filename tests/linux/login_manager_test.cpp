// The power-off against a fake login manager on private buses. The process's system bus is
// pointed at a private bus before anything can reach for the real one.
#include "linux/power/login_manager.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

TEST(LoginManager, AsksTheSystemBusForThePowerOffWithoutInteraction) {
    FakeLoginManager manager(systemBus->address());
    ASSERT_TRUE(manager.running());
    LoginManager login;
    // Every call is a new request: the clock asks again on each tick of the set second.
    EXPECT_TRUE(login.powerOff());
    EXPECT_TRUE(login.powerOff());
    EXPECT_EQ(manager.waitForCalls(2, 5000), (std::vector<QString>{"false", "false"}));
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
