#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QScreen;

namespace horatta::shell {

// Tells when the screens change while the program runs: a screen plugged in or out, or one
// changing its size or place. What comes together (an unplugged monitor moves the others)
// is told once, when Qt's list of screens has settled.
class ScreenWatch : public QObject {
public:
    explicit ScreenWatch(std::function<void()> changed);

private:
    void watch(QScreen* screen);

    std::function<void()> changed_;
    QTimer soon_;
};

}  // namespace horatta::shell
