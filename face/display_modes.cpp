#include "window/form1.h"

namespace horatta {

void Form1::Label1_DblClick() {}
void Form1::scrollToggle(std::int16_t) {}

}  // namespace horatta
