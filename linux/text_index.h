#pragma once

#include <QString>

namespace horatta::shell {

// The model counts characters (code points); Qt's strings count UTF-16 units. These
// convert positions between the two, clamped to the text.
qsizetype utf16Offset(const QString& text, int characters);
int characterIndex(const QString& text, qsizetype utf16);

}  // namespace horatta::shell
