#include "linux/accessible_names.h"

#include <QAccessible>
#include <QWidget>

namespace horatta::shell {

namespace {
constexpr int leastGapMs = 1000;
}

QString spokenName(const Form1& form) {
    QStringList shown;
    for (const Label* label : {&form.Label3, &form.Label1})
        if (label->Visible && !label->caption().empty()) shown << QString::fromStdString(label->caption()).simplified();
    return shown.join(' ');
}

QString spokenDescription(const Form1& form) { return QString::fromStdString(form.Label1.ToolTipText).simplified(); }

QString fieldName(const Form1& form, ControlId id) {
    if (id == ControlId::Text2) return QObject::tr("Memo");
    if (id == ControlId::Text1) return QObject::tr("Reminder message");
    if (id == form.shutdownFieldId()) return QObject::tr("Power-off time");
    if (id == form.reminderFieldId()) return QObject::tr("Reminder time");
    return {};
}

AccessibleNames::AccessibleNames(QWidget& window, const Form1& form) : QObject(&window), window_(window), form_(form) {
    later_.setSingleShot(true);
    connect(&later_, &QTimer::timeout, this, [this] { announce(); });
}

void AccessibleNames::shown() {
    // Without a screen reader nothing is worked out, let alone sent.
    if (!QAccessible::isActive() || later_.isActive()) return;
    const qint64 since = sinceAnnounced_.isValid() ? sinceAnnounced_.elapsed() : leastGapMs;
    if (since >= leastGapMs)
        announce();
    else if (spokenName(form_) != window_.accessibleName() || spokenDescription(form_) != window_.accessibleDescription())
        later_.start(static_cast<int>(leastGapMs - since));
}

void AccessibleNames::announce() {
    const QString name = spokenName(form_);
    const QString description = spokenDescription(form_);
    if (name == window_.accessibleName() && description == window_.accessibleDescription()) return;
    // Each setter tells the bus of its change.
    if (name != window_.accessibleName()) window_.setAccessibleName(name);
    if (description != window_.accessibleDescription()) window_.setAccessibleDescription(description);
    sinceAnnounced_.start();
}

}  // namespace horatta::shell
