#include "window/form1.h"

namespace horatta {

void Form1::ApplyShutdownEntry() {}
void Form1::applyReminderEntryByEnter() {}
void Form1::Picture2_DblClick() {}
void Form1::Timer3_Timer() {}
void Form1::StartReminderAlert() {}

}  // namespace horatta
