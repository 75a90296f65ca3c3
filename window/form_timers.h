#pragma once

#include "platform/timer_driver.h"
#include "window/form1.h"

namespace horatta {

// Form1's timers under one driver: Timer1, Timer2, Timer3 (the order in which timers due
// together are served), every change of Enabled or Interval reported to the driver.
// The form must outlive it.
class FormTimers : public TimerDriver {
public:
    FormTimers(Form1& form, NativeTimer& native, Clock clock, int slackMs, Deliver deliver = {});
    ~FormTimers() override;

private:
    Form1& form_;
};

}  // namespace horatta
