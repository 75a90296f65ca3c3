// A stand-in for the login manager: it owns org.freedesktop.login1 on the bus it is given and,
// instead of powering off, records each call ("PowerOff false 1718000000123", "ListInhibitors
// <ms>"). ListInhibitors lists the locks of the --inhibitors file, read at every call, one a line:
// "what mode who why..."; --no-inhibitor-list makes it unknown, --never-answer a manager that
// hangs. It prints "ready" once it owns the name, and needs a bus named, so never sits on a real one.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QFile>
#include <QTextStream>

#include <cstdio>

// Outside any unnamed namespace: Qt's type registry names it from the global one.
struct Inhibitor {
    QString what, who, why, mode;
    uint uid = 0, pid = 0;
};

QDBusArgument& operator<<(QDBusArgument& out, const Inhibitor& lock) {
    out.beginStructure();
    out << lock.what << lock.who << lock.why << lock.mode << lock.uid << lock.pid;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, Inhibitor& lock) {
    in.beginStructure();
    in >> lock.what >> lock.who >> lock.why >> lock.mode >> lock.uid >> lock.pid;
    in.endStructure();
    return in;
}

Q_DECLARE_METATYPE(Inhibitor)

namespace {

QList<Inhibitor> readInhibitors(const QString& path) {
    QList<Inhibitor> locks;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) return locks;
    while (!file.atEnd()) {
        const QStringList words = QString::fromUtf8(file.readLine()).simplified().split(' ', Qt::SkipEmptyParts);
        if (words.size() < 2) continue;
        locks.append({words[0], words.value(2, "test"), words.mid(3).join(' '), words[1], 1000, 4242});
    }
    return locks;
}

class FakeManager : public QDBusVirtualObject {
public:
    FakeManager(QString recordPath, QString inhibitorsPath, bool answers, bool lists)
        : recordPath_(std::move(recordPath)), inhibitorsPath_(std::move(inhibitorsPath)), answers_(answers), lists_(lists) {}

    QString introspect(const QString&) const override {
        return "<interface name=\"org.freedesktop.login1.Manager\">"
               "<method name=\"PowerOff\"><arg name=\"interactive\" type=\"b\" direction=\"in\"/></method>"
               "<method name=\"ListInhibitors\"><arg name=\"inhibitors\" type=\"a(ssssuu)\" direction=\"out\"/></method>"
               "</interface>";
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != "org.freedesktop.login1.Manager") return false;
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        QDBusMessage reply;
        if (message.member() == "PowerOff") {
            const char* interactive = message.signature() != "b" ? "invalid" : message.arguments().at(0).toBool() ? "true" : "false";
            record(QStringLiteral("PowerOff %1 %2").arg(interactive).arg(at));
            reply = message.createReply();
        } else if (message.member() == "ListInhibitors") {
            record(QStringLiteral("ListInhibitors %1").arg(at));
            reply = lists_ ? message.createReply(QVariant::fromValue(readInhibitors(inhibitorsPath_)))
                           : message.createErrorReply(QDBusError::UnknownMethod, "no such method");
        } else {
            return false;
        }
        if (answers_ && message.isReplyRequired()) connection.send(reply);
        return true;
    }

private:
    void record(const QString& line) const {
        QFile file(recordPath_);
        if (file.open(QIODevice::Append | QIODevice::Text)) QTextStream(&file) << line << '\n';
    }

    QString recordPath_, inhibitorsPath_;
    bool answers_, lists_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool answers = !args.removeOne("--never-answer");
    const bool lists = !args.removeOne("--no-inhibitor-list");
    QString inhibitors;
    if (const auto at = args.indexOf("--inhibitors"); at > 0 && at + 1 < args.size()) {
        inhibitors = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: fake_login_manager [--never-answer] [--no-inhibitor-list] [--inhibitors FILE] "
                             "BUS-ADDRESS RECORD-FILE\n");
        return 2;
    }
    qDBusRegisterMetaType<Inhibitor>();
    qDBusRegisterMetaType<QList<Inhibitor>>();
    QDBusConnection bus = QDBusConnection::connectToBus(args.at(1), "bus");
    FakeManager manager(args.at(2), inhibitors, answers, lists);
    if (!bus.isConnected() || !bus.registerVirtualObject("/org/freedesktop/login1", &manager) ||
        !bus.registerService("org.freedesktop.login1")) {
        std::fprintf(stderr, "fake_login_manager: cannot own org.freedesktop.login1 on %s\n", qPrintable(args.at(1)));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
