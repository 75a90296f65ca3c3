#include "window/colour_skin_tables.h"

#include <limits>

namespace horatta {

const std::array<ColorRow, colorCount> colorTable{{
    {Color::rgb(0, 255, 0), Color::rgb(0, 255, 0)},        // green
    {Color::rgb(0, 255, 255), Color::rgb(0, 255, 255)},    // cyan
    {Color::rgb(0, 0, 255), Color::rgb(0, 0, 255)},        // blue
    {Color::rgb(255, 255, 255), Color::rgb(255, 255, 255)},// white
    {Color::rgb(255, 0, 255), Color::rgb(255, 0, 255)},    // magenta
    {Color::rgb(0, 111, 255), Color::rgb(0, 111, 111)},    // azure when stepped, dark teal at start-up
    {Color::rgb(250, 255, 0), Color::rgb(250, 255, 0)},    // yellow
    {Color::rgb(238, 109, 23), Color::rgb(238, 109, 23)},  // orange
    {Color::rgb(202, 202, 0), Color::rgb(202, 202, 0)},    // olive yellow
    {Color::rgb(125, 0, 63), Color::rgb(125, 0, 63)},      // wine
    {Color::rgb(0, 0, 1), Color::rgb(0, 0, 1)},            // near-black
    {Color::rgb(255, 0, 0), Color::rgb(255, 0, 0)},        // red
}};

const std::array<ControlId, skinCount> skinTable{
    ControlId::Picture4, ControlId::Picture3, ControlId::Picture8, ControlId::Picture5,
    ControlId::Picture6, ControlId::Picture9, ControlId::Picture2, ControlId::Picture7,
};

std::int16_t advanceIndex(std::int16_t index, int count) {
    if (index == count - 1 || index == std::numeric_limits<std::int16_t>::max()) return 0;
    return static_cast<std::int16_t>(index + 1);
}

std::int16_t stepBackIndex(std::int16_t index, int by, int count) {
    if (index >= by) return static_cast<std::int16_t>(index - by);
    if (index >= 0) return static_cast<std::int16_t>(index - by + count);
    return index;
}

}  // namespace horatta
