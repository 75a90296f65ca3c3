#include "win32/look.h"

namespace horatta::shell {

COLORREF colour(const Color& c) {
    if (c.isSystem()) return GetSysColor(c.systemIndex);
    return RGB(c.red, c.green, c.blue);
}

Brushes::~Brushes() {
    for (auto& [c, b] : brushes_) DeleteObject(b);
}

HBRUSH Brushes::get(COLORREF c) {
    auto it = brushes_.find(c);
    if (it != brushes_.end()) return it->second;
    return brushes_[c] = CreateSolidBrush(c);
}

}  // namespace horatta::shell
