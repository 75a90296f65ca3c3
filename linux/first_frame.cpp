#include "linux/first_frame.h"

#include <QCoreApplication>
#include <QTimer>
#include <utility>
#include <vector>

namespace horatta::shell::first_frame {
namespace {

bool shown = false;
std::vector<std::function<void()>> waiting;

void runWaiting() {
    shown = true;
    // Work may ask for more work; that runs at once, as the face is up.
    for (auto work = std::exchange(waiting, {}); auto& w : work) w();
}

}  // namespace

void after(std::function<void()> work) {
    if (shown) {
        work();
        return;
    }
    if (waiting.empty()) QTimer::singleShot(1000, qApp, [] { runWaiting(); });
    waiting.push_back(std::move(work));
}

void painted() {
    if (shown) return;
    shown = true;
    // Not inside the paint: the frame reaches the screen first.
    QTimer::singleShot(0, qApp, [] { runWaiting(); });
}

}  // namespace horatta::shell::first_frame
