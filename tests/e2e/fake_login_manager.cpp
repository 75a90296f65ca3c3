// A stand-in for the login manager, for tests only: it owns org.freedesktop.login1 on the
// bus it is given and, instead of powering anything off, appends one line for each
// PowerOff call to a record file:
//
//     PowerOff false 1718000000123
//
// (the interactive flag, then the time of arrival in milliseconds since the epoch). It
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

const QString service = QStringLiteral("org.freedesktop.login1");
const QString path = QStringLiteral("/org/freedesktop/login1");
const QString interface = QStringLiteral("org.freedesktop.login1.Manager");

class FakeManager : public QDBusVirtualObject {
public:
    explicit FakeManager(QString recordPath) : recordPath_(std::move(recordPath)) {}

    QString introspect(const QString&) const override {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.login1.Manager\">"
            "<method name=\"PowerOff\"><arg name=\"interactive\" type=\"b\" direction=\"in\"/></method>"
            "</interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != interface || message.member() != QLatin1String("PowerOff")) return false;
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        const QVariantList args = message.arguments();
        QString interactive = QStringLiteral("invalid");
        if (message.signature() == QLatin1String("b")) {
            interactive = args.at(0).toBool() ? QStringLiteral("true") : QStringLiteral("false");
        }
        QFile file(recordPath_);
        if (file.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream(&file) << "PowerOff " << interactive << ' ' << at << '\n';
        }
        if (!message.isReplyRequired()) return true;
        if (interactive == QLatin1String("invalid")) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("expected one boolean")));
        } else {
            connection.send(message.createReply());
        }
        return true;
    }

private:
    QString recordPath_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: fake_login_manager BUS-ADDRESS RECORD-FILE\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(args.at(1), QStringLiteral("bus"));
    if (!bus.isConnected()) {
        std::fprintf(stderr, "fake_login_manager: cannot connect to %s\n", qPrintable(args.at(1)));
        return 1;
    }
    FakeManager manager(args.at(2));
    if (!bus.registerVirtualObject(path, &manager) || !bus.registerService(service)) {
        std::fprintf(stderr, "fake_login_manager: cannot own %s\n", qPrintable(service));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
