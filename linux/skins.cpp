#include "linux/skins.h"

#include <QPixmapCache>
#include <QtMath>
#include <array>

#include "window/skin_picture.h"

namespace horatta::shell {

namespace {

// The picture as it is embedded at 1, 2 or 3 times its design size.
QPixmap embedded(Image image, int factor) {
    static const std::array<const char*, 8> names{
        nullptr, "picture3.jpg", "picture4.bmp", "picture5.jpg", "picture6.bmp", "picture7.jpg", "picture8.jpg", "picture9.jpg",
    };
    const auto index = static_cast<std::size_t>(image);
    if (index >= names.size() || !names[index]) return {};
    QString path = QStringLiteral(":/") + QString::fromLatin1(names[index]);
    if (factor > 1) path.insert(path.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(factor));
    QPixmap pixmap;
    pixmap.load(path);
    return pixmap;
}

}  // namespace

QPixmap pixmapFor(Image image, qreal scale) {
    // Brought down smoothly to the surface's pixels. At scale 1 (or below, where Qt shrinks
    // it) it is the 1x picture as it is.
    const int factor = skinPictureFactor(scale);
    const QString key = QStringLiteral("picture%1@%2").arg(static_cast<int>(image)).arg(factor == 1 ? 1 : scale);
    // Qt's pixmap cache goes with the application, so no pixmap outlives the display.
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = embedded(image, factor);
    if (pixmap.isNull()) return pixmap;
    if (factor > 1 && scale != factor) {
        // Rounded up, so the picture reaches the face's edges where the 1x one does and the
        // face cuts it there as it cuts that one.
        const QSizeF design = QSizeF(pixmap.size()) / factor;
        const QSize device(qCeil(design.width() * scale), qCeil(design.height() * scale));
        pixmap = pixmap.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (factor > 1) pixmap.setDevicePixelRatio(scale);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

}  // namespace horatta::shell
