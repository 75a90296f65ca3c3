#include "window/form1.h"

namespace horatta {

void Form1::Picture1_Click() {}
void Form1::Text1_GotFocus() {}
void Form1::Text2_GotFocus() {}
void Form1::Text1_KeyPress(std::int16_t&) {}
void Form1::Text2_KeyPress(std::int16_t&) {}
void Form1::Text1_DblClick() {}
void Form1::Text2_DblClick() {}

}  // namespace horatta
