#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Private stand-ins for the machine's services, so that end-to-end tests never reach the
// real display, the real system bus or the real login manager.
namespace horatta::e2e {

// An Xvfb server on the first free display.
class VirtualDisplay {
public:
    VirtualDisplay(int width = 1024, int height = 768);
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
    void stop();

private:
    QProcess daemon_;
    QString address_;
};

struct PowerOffCall {
    QString interactive;  // "false", "true", or "invalid"
    qint64 atMs = 0;      // milliseconds since the epoch
};

// The fake login manager on a private bus, recording every PowerOff call it receives.
class FakeLoginManager {
public:
    explicit FakeLoginManager(const QString& busAddress);
    ~FakeLoginManager();
    bool running() const { return ready_; }
    std::vector<PowerOffCall> calls() const;
    // Waits up to the timeout for at least count calls; returns what has arrived.
    std::vector<PowerOffCall> waitForCalls(std::size_t count, int timeoutMs) const;

private:
    QTemporaryDir dir_;
    QString record_;
    QProcess process_;
    bool ready_ = false;
};

// Runs a program to its end with the given arguments; returns its exit code, or -1.
int run(const QString& program, const QStringList& arguments, int timeoutMs = 10000);

}  // namespace horatta::e2e
