#include "window/form1.h"

namespace horatta {

void Form1::Label3_MouseDown(std::int16_t, std::int16_t, float, float) {}
void Form1::Label3_DblClick() {}

}  // namespace horatta
