#include "win32/key_mapping.h"

namespace horatta::shell {

std::optional<EditKey> editKeyFor(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_LEFT: return EditKey::Left;
        case VK_RIGHT: return EditKey::Right;
        case VK_HOME: return EditKey::Home;
        case VK_END: return EditKey::End;
        case VK_DELETE: return EditKey::Delete;
        default: return std::nullopt;
    }
}

}  // namespace horatta::shell
