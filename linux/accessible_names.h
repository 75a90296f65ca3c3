#pragma once

#include <QObject>
#include <QTimer>

#include "window/accessible_text.h"

class QWidget;

namespace horatta::shell {

// Keeps the window's accessible name and description in line with the face, at the pace
// the core allows, and not at all while nothing listens.
class AccessibleNames : public QObject {
public:
    AccessibleNames(QWidget& window, const Form1& form);
    // After each pass of the model.
    void shown();

private:
    void announce();

    QWidget& window_;
    const Form1& form_;
    AnnouncePace pace_;
    QTimer later_;
};

}  // namespace horatta::shell
