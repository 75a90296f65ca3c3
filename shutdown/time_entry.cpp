#include "window/form1.h"

namespace horatta {

void Form1::MaskEdBox1_GotFocus() {}
void Form1::MaskEdBox2_GotFocus() {}
void Form1::maskedbox1_keyPress(std::int16_t&) {}
void Form1::MaskEdBox2_KeyPress(std::int16_t&) {}
void Form1::Text3_GotFocus() {}
void Form1::Text4_GotFocus() {}
void Form1::text3_keyPress(std::int16_t&) {}
void Form1::Text4_KeyPress(std::int16_t&) {}
void Form1::Timer2_Timer() {}

}  // namespace horatta
