#include "window/form_timers.h"

#include <utility>

namespace horatta {

namespace {

DrivenTimer driven(Timer& timer, std::function<void()> handler) {
    return {[&timer] { return timer.enabled(); }, [&timer] { return timer.interval(); }, std::move(handler)};
}

}  // namespace

FormTimers::FormTimers(Form1& form, NativeTimer& native, Clock clock, int slackMs, Deliver deliver)
    : TimerDriver(native, std::move(clock), slackMs,
                  {driven(form.Timer1, [&form] { form.Timer1_Timer(); }),
                   driven(form.Timer2, [&form] { form.Timer2_Timer(); }),
                   driven(form.Timer3, [&form] { form.Timer3_Timer(); })},
                  std::move(deliver)),
      form_(form) {
    form.Timer1.setObserver([this] { changed(0); });
    form.Timer2.setObserver([this] { changed(1); });
    form.Timer3.setObserver([this] { changed(2); });
}

FormTimers::~FormTimers() {
    form_.Timer1.setObserver(nullptr);
    form_.Timer2.setObserver(nullptr);
    form_.Timer3.setObserver(nullptr);
}

}  // namespace horatta
