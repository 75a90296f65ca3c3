#include "linux/screen_watch.h"

#include <QGuiApplication>
#include <QScreen>

namespace horatta::shell {

ScreenWatch::ScreenWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, [this] { changed_(); });
    const auto changedSoon = [this] { soon_.start(); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, changedSoon](QScreen* screen) {
        watch(screen);
        changedSoon();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, changedSoon);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, changedSoon);
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
}

void ScreenWatch::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { soon_.start(); });
}

}  // namespace horatta::shell
