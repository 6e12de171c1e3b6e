#include "TileSet.h"

#include <QString>

#include <utility>

// Outside any namespace, as the resource initialiser requires. Calling it also keeps the
// linker from dropping the resource object out of this static library.
static void initialiseTileResources() {
    Q_INIT_RESOURCE(resources);
}

namespace krelwin::render {

namespace {

QImage loadTile(int index) {
    const QString path = QStringLiteral(":/tiles/tile%1.xpm").arg(index, 2, 10, QLatin1Char('0'));
    QImage image(path);
    if (image.isNull())
        return {};
    // Premultiplied ARGB is the raster engine's fastest source for blending.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TileSet::Images loadAllTiles() {
    initialiseTileResources();
    TileSet::Images images;
    for (int index = 0; index < TileCount; ++index)
        images[index] = loadTile(index);
    return images;
}

} // namespace

const TileSet& TileSet::builtIn() {
    static const TileSet tiles(loadAllTiles());
    return tiles;
}

TileSet::TileSet(Images images, Scale scale) : images_(std::move(images)), scale_(scale) {}

TileSet TileSet::scaled(Scale scale) const {
    if (scale == scale_)
        return *this;
    Images images;
    const int size = scale.length(TileSize);
    for (int index = 0; index < TileCount; ++index)
        if (!images_[index].isNull())
            images[index] =
                images_[index].scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return TileSet(std::move(images), scale);
}

bool TileSet::hasImage(int index) const {
    return index >= 0 && index < TileCount && !images_[index].isNull();
}

} // namespace krelwin::render
