// A stand-in for the login manager, for tests only: it owns org.freedesktop.login1 on the
// bus it is given and, instead of powering anything off, appends one line for each
// PowerOff call to a record file:
//
//     PowerOff false 1718000000123
//
// (the interactive flag, then the time of arrival in milliseconds since the epoch). With
// --never-answer it records the calls and answers none, as a login manager that hangs. It
// prints "ready" once it owns the name. It refuses to start unless it is pointed at a bus
// explicitly, so it can never sit on a real system bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

class FakeManager : public QDBusVirtualObject {
public:
    FakeManager(QString recordPath, bool answers) : recordPath_(std::move(recordPath)), answers_(answers) {}

    QString introspect(const QString&) const override {
        return "<interface name=\"org.freedesktop.login1.Manager\">"
               "<method name=\"PowerOff\"><arg name=\"interactive\" type=\"b\" direction=\"in\"/></method>"
               "</interface>";
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != "org.freedesktop.login1.Manager" || message.member() != "PowerOff") return false;
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        const char* interactive = message.signature() != "b" ? "invalid" : message.arguments().at(0).toBool() ? "true" : "false";
        QFile file(recordPath_);
        if (file.open(QIODevice::Append | QIODevice::Text)) QTextStream(&file) << "PowerOff " << interactive << ' ' << at << '\n';
        if (answers_ && message.isReplyRequired()) connection.send(message.createReply());
        return true;
    }

private:
    QString recordPath_;
    bool answers_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool answers = !args.removeOne("--never-answer");
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: fake_login_manager [--never-answer] BUS-ADDRESS RECORD-FILE\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(args.at(1), "bus");
    FakeManager manager(args.at(2), answers);
    if (!bus.isConnected() || !bus.registerVirtualObject("/org/freedesktop/login1", &manager) ||
        !bus.registerService("org.freedesktop.login1")) {
        std::fprintf(stderr, "fake_login_manager: cannot own org.freedesktop.login1 on %s\n", qPrintable(args.at(1)));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
