#include "window/tab_order.h"

#include <algorithm>

#include "window/form1.h"

namespace horatta {

std::vector<ControlId> tabOrder(const Form1& form) {
    std::vector<ControlId> order;
    for (ControlId id : form.stackingOrder())
        if (form.control(id).TabIndex >= 0) order.push_back(id);
    std::stable_sort(order.begin(), order.end(),
                     [&](ControlId a, ControlId b) { return form.control(a).TabIndex < form.control(b).TabIndex; });
    return order;
}

std::optional<ControlId> nextInTabOrder(const Form1& form, ControlId from, bool backwards) {
    std::vector<ControlId> shown = tabOrder(form);
    std::erase_if(shown, [&](ControlId id) { return !form.control(id).Visible; });
    if (shown.empty()) return std::nullopt;
    // A control without a tab index (or a hidden one) still has its place in the round by
    // its index, so Tab from it goes on from there.
    const int at = form.control(from).TabIndex;
    if (backwards) {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (form.control(*it).TabIndex < at) return *it;
        return shown.back();
    }
    for (ControlId id : shown)
        if (form.control(id).TabIndex > at) return id;
    return shown.front();
}

}  // namespace horatta
