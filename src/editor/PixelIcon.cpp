#include "PixelIcon.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

// Outside any namespace, as the resource initialiser requires.
static void initialiseIconResources() {
    Q_INIT_RESOURCE(resources);
}

namespace krelwin {

QImage pixelIconAt(const QImage& drawing, int size) {
    const int factor = std::max(1, size / std::max(drawing.width(), drawing.height()));
    const QImage scaled =
        drawing.convertToFormat(QImage::Format_ARGB32)
            .scaled(drawing.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return icon;
}

QIcon applicationIcon() {
    initialiseIconResources();
    const QImage drawing(QStringLiteral(":/icons/krelwin-konstruktor.xpm"));
    QIcon icon;
    for (const int size : IconSizes)
        icon.addPixmap(QPixmap::fromImage(pixelIconAt(drawing, size)));
    return icon;
}

} // namespace krelwin
