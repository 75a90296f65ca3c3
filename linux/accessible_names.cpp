#include "linux/accessible_names.h"

#include <QAccessible>
#include <QWidget>
#include <chrono>

namespace horatta::shell {

namespace {
std::int64_t steadyNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
QString text(const std::string& utf8) { return QString::fromStdString(utf8); }
}  // namespace

AccessibleNames::AccessibleNames(QWidget& window, const Form1& form) : QObject(&window), window_(window), form_(form) {
    later_.setSingleShot(true);
    connect(&later_, &QTimer::timeout, this, [this] { announce(); });
}

void AccessibleNames::shown() {
    // Without a screen reader nothing is worked out, let alone sent.
    if (!QAccessible::isActive() || later_.isActive()) return;
    if (const std::int64_t wait = pace_.waitMs(steadyNowMs()); wait == 0)
        announce();
    else if (text(spokenName(form_)) != window_.accessibleName() ||
             text(spokenDescription(form_)) != window_.accessibleDescription())
        later_.start(static_cast<int>(wait));
}

void AccessibleNames::announce() {
    const QString name = text(spokenName(form_));
    const QString description = text(spokenDescription(form_));
    if (name == window_.accessibleName() && description == window_.accessibleDescription()) return;
    // Each setter tells the bus of its change.
    if (name != window_.accessibleName()) window_.setAccessibleName(name);
    if (description != window_.accessibleDescription()) window_.setAccessibleDescription(description);
    pace_.announced(steadyNowMs());
}

}  // namespace horatta::shell
