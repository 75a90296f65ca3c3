#include "linux/key_mapping.h"

namespace horatta::shell {

std::optional<std::int16_t> keyAsciiFor(int qtKey, const QString& text) {
    switch (qtKey) {
        case Qt::Key_Backspace: return keyBackspace;
        case Qt::Key_Return:
        case Qt::Key_Enter: return keyEnter;
        case Qt::Key_Escape: return std::int16_t{27};
        default: break;
    }
    if (text.size() != 1) return std::nullopt;  // nothing typed, or beyond 16 bits
    const char16_t unit = text.at(0).unicode();
    if (unit >= 0xD800 && unit <= 0xDFFF) return std::nullopt;
    if (unit == 0x7F) return std::nullopt;  // Delete is an edit key, not a character
    return static_cast<std::int16_t>(unit);
}

std::optional<EditKey> editKeyFor(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left: return EditKey::Left;
        case Qt::Key_Right: return EditKey::Right;
        case Qt::Key_Home: return EditKey::Home;
        case Qt::Key_End: return EditKey::End;
        case Qt::Key_Delete: return EditKey::Delete;
        default: return std::nullopt;
    }
}

std::optional<QString> textForKeyAscii(std::int16_t code) {
    const auto unit = static_cast<char16_t>(static_cast<std::uint16_t>(code));
    if (unit < 32 || unit == 0x7F || (unit >= 0xD800 && unit <= 0xDFFF)) return std::nullopt;
    return QString(QChar(unit));
}

}  // namespace horatta::shell
