#include "linux/look.h"

#include <QIcon>
#include <QLineEdit>
#include <QStringList>
#include <cmath>

namespace horatta::shell {

QColor toQColor(const Color& color) {
    if (!color.isSystem()) return QColor(color.red, color.green, color.blue);
    switch (color.systemIndex) {
        case colorDesktop: return QColor(58, 110, 165);
        case colorActiveCaption: return QColor(10, 36, 106);
        case colorMenu: return QColor(212, 208, 200);
        case colorWindowText: return QColor(0, 0, 0);
        default: return QColor(0, 0, 0);
    }
}

QFont controlFont() {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial", "Nimbus Sans",
                      "DejaVu Sans",
                      // None of these has Chinese glyphs: the countdown's " 关机" comes from
                      // the first of these fonts that is installed.
                      "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC", "Droid Sans Fallback",
                      "AR PL UMing CN"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void fitFieldFontsToScale(QWidget& window) {
    const qreal scale = window.devicePixelRatioF();
    const QFont::StyleStrategy wanted = scale == std::floor(scale) ? QFont::NoAntialias : QFont::PreferAntialias;
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (field->font().styleStrategy() == wanted) continue;
        QFont font = field->font();
        font.setStyleStrategy(wanted);
        field->setFont(font);
    }
}

QIcon windowIcon() {
    // Each size as drawn for it: the task switcher and the window list take what fits.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/horatta-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace horatta::shell
