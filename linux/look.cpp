#include "linux/look.h"

#include <QIcon>
#include <QPixmapCache>
#include <QStringList>
#include <array>

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

QPixmap pixmapFor(Image image) {
    static const std::array<const char*, 8> paths{
        nullptr, ":/picture3.jpg", ":/picture4.bmp", ":/picture5.jpg",
        ":/picture6.bmp", ":/picture7.jpg", ":/picture8.jpg", ":/picture9.jpg",
    };
    const auto index = static_cast<std::size_t>(image);
    if (index >= paths.size() || !paths[index]) return {};
    // Qt's pixmap cache goes with the application, so no pixmap outlives the display.
    QPixmap pixmap;
    if (!QPixmapCache::find(paths[index], &pixmap)) {
        pixmap.load(paths[index]);
        QPixmapCache::insert(paths[index], pixmap);
    }
    return pixmap;
}

QIcon windowIcon() {
    // Each size as drawn for it: the task switcher and the window list take what fits.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/horatta-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace horatta::shell
