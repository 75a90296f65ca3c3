#pragma once

#include <QWidget>

#include "linux/event_sink.h"

namespace horatta::shell {

// Form2: a window of (next to) no size that can take the keyboard; a key released in it
// goes to Form2's key-up handler.
class HotKeyWindow : public QWidget {
    Q_OBJECT
public:
    HotKeyWindow(Form2& form2, EventSink& sink);
    void showModel();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Form2& form2_;
    EventSink& sink_;
};

// The key code a key-up handler receives: the Windows virtual-key code for letters,
// digits and the common keys, 0 for the rest.
std::int16_t virtualKeyCode(int qtKey);

}  // namespace horatta::shell
