#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "window/form1.h"

class QWidget;

namespace horatta::shell {

// What a screen reader says of the strip: the text the face shows (the time, or the
// countdown, memo or reminder text in its place) and, as its description, the date tip.
QString spokenName(const Form1& form);
QString spokenDescription(const Form1& form);
// What an entry field holds, as its name.
QString fieldName(const Form1& form, ControlId id);

// Keeps the window's accessible name and description in line with the face. Every change
// is an event on the accessibility bus, so at most one goes out a second (a scrolling or
// blinking face changes far more often), and none while nothing listens.
class AccessibleNames : public QObject {
public:
    AccessibleNames(QWidget& window, const Form1& form);
    // After each pass of the model.
    void shown();

private:
    void announce();

    QWidget& window_;
    const Form1& form_;
    QElapsedTimer sinceAnnounced_;
    QTimer later_;
};

}  // namespace horatta::shell
