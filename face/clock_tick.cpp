#include "window/form1.h"

namespace horatta {

void Form1::Timer1_Timer() {}

}  // namespace horatta
