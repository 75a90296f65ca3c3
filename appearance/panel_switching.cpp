#include "window/form1.h"

namespace horatta {

void Form1::Picture1_DblClick() {}

}  // namespace horatta
