#include "window/form1.h"
#include "window/form2.h"

namespace horatta {

void Form2::Form_Load() { platform_.setHotKey(ControlId::Form2, hotKeyValue()); }

void Form2::Form_KeyUp(std::int16_t, std::int16_t) {
    // Any key, with no question: the hot key has already been pressed on purpose.
    PowerOffSequence(platform_);
}

}  // namespace horatta
