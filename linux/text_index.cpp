#include "linux/text_index.h"

namespace horatta::shell {

qsizetype utf16Offset(const QString& text, int characters) {
    qsizetype i = 0;
    for (int n = 0; n < characters && i < text.size(); ++n)
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return i;
}

int characterIndex(const QString& text, qsizetype utf16) {
    int n = 0;
    for (qsizetype i = 0; i < utf16 && i < text.size(); ++n)
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return n;
}

}  // namespace horatta::shell
