#include "window/form1.h"

namespace horatta {

void Form1::Label1_MouseDown(std::int16_t, std::int16_t, float, float) {}
void Form1::stepColor() {}
void Form1::stepSkin() {}

}  // namespace horatta
