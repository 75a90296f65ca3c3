// The least a Qt clock can be, as the yardstick for horatta's start-up: a label and a timer.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    label.setWindowTitle("minimal");
    const auto show = [&label] { label.setText(QTime::currentTime().toString("HH:mm:ss")); };
    show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, show);
    timer.start(1000);
    label.show();
    return app.exec();
}
