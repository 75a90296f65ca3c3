#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <vector>

// Private stand-ins for the machine's services, so that end-to-end tests never reach the
// real display, the real system bus or the real login manager.
namespace horatta::e2e {

// An Xvfb server of 1024 x 768 pixels on the first free display.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    bool running() const { return !display_.isEmpty(); }
    QString display() const { return display_; }  // ":N"

private:
    QProcess server_;
    QString display_;
};

// A dbus-daemon of its own, configured like a system bus that lets anyone own any name.
class PrivateBus {
public:
    // Listens where its configuration says, or at the given D-Bus address.
    explicit PrivateBus(const QString& listenAddress = {});
    ~PrivateBus();
    bool running() const { return !address_.isEmpty(); }
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

// The fake login manager on a private bus, recording every PowerOff call it receives.
class FakeLoginManager {
public:
    explicit FakeLoginManager(const QString& busAddress);
    ~FakeLoginManager();
    bool running() const { return ready_; }
    // Waits up to the timeout for at least count calls; returns the interactive argument of
    // each call that has arrived: "false", "true", or "invalid".
    std::vector<QString> waitForCalls(std::size_t count, int timeoutMs) const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    bool ready_ = false;
};

// Runs a program to its end, for at most ten seconds; returns its exit code, or -1.
int run(const QString& program, const QStringList& arguments);

}  // namespace horatta::e2e
