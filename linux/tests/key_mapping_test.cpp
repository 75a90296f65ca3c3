#include <gtest/gtest.h>

#include "linux/key_mapping.h"

namespace horatta::shell {
namespace {

TEST(KeyMapping, KeysBecomeTheCodesTheHandlersTakeAndAReplacedCodeOnlyAPrintableCharacter) {
    const struct {
        int key;
        QString text;
        std::optional<std::int16_t> code;
    } cases[] = {
        {Qt::Key_5, "5", std::int16_t{'5'}},
        {Qt::Key_Enter, "\r", keyEnter},  // the keypad's
        {Qt::Key_Backspace, "\b", keyBackspace},
        {Qt::Key_Escape, "\x1b", std::int16_t{27}},
        {Qt::Key_Eacute, QString(QChar(0xE9)), std::int16_t{0xE9}},
        {Qt::Key_unknown, QString(QChar(0x65E5)), static_cast<std::int16_t>(0x65E5)},  // above 32767: same 16 bits
        {Qt::Key_Left, "", std::nullopt},
        {Qt::Key_Delete, "\x7f", std::nullopt},  // an edit key, not a character
        {Qt::Key_unknown, QString::fromUcs4(U"\U0001F600", 1), std::nullopt},  // no 16-bit code
    };
    for (const auto& c : cases) EXPECT_EQ(keyAsciiFor(c.key, c.text), c.code) << c.key;
    EXPECT_EQ(textForKeyAscii(static_cast<std::int16_t>(0x65E5)), QString(QChar(0x65E5)));
    for (std::int16_t code : {std::int16_t{0}, keyRefused, keyEnter}) EXPECT_EQ(textForKeyAscii(code), std::nullopt);
}

}  // namespace
}  // namespace horatta::shell
