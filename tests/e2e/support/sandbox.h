#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <vector>

// Private stand-ins for the machine's services, so that end-to-end tests never reach the
// real display, the real system bus or the real login manager.
namespace horatta::e2e {

// A program that says it is ready with its first line of output; stopped when this goes.
class Child {
public:
    Child(const QString& program, const QStringList& arguments);
    ~Child();
    QString firstLine() const { return firstLine_; }  // empty when it never got that far

private:
    QProcess process_;
    QString firstLine_;
};

// An Xvfb server of 1024 x 768 pixels on the first free display.
class VirtualDisplay {
public:
    bool running() const { return !server_.firstLine().isEmpty(); }
    QString display() const { return ':' + server_.firstLine(); }

private:
    Child server_{"Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}};
};

// A dbus-daemon of its own, configured like a system bus that lets anyone own any name.
class PrivateBus {
public:
    // Listens where its configuration says, or at the given D-Bus address.
    explicit PrivateBus(const QString& listenAddress = {});
    bool running() const { return !address().isEmpty(); }
    QString address() const { return daemon_.firstLine(); }

private:
    Child daemon_;
};

// The fake login manager on a private bus, recording every PowerOff call it receives.
class FakeLoginManager {
public:
    enum class Answers { Every, None };
    explicit FakeLoginManager(const QString& busAddress, Answers answers = Answers::Every);
    bool running() const { return process_.firstLine() == "ready"; }
    // Waits up to the timeout for at least count calls; returns the interactive argument of
    // each call that has arrived: "false", "true", or "invalid".
    std::vector<QString> waitForCalls(std::size_t count, int timeoutMs) const;

private:
    QTemporaryDir dir_;
    Child process_;
};

}  // namespace horatta::e2e
