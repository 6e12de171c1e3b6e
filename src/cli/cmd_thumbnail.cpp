#include "commands.h"

#include "StagePicture.h"
#include "picture_output.h"
#include "stage_file.h"

#include <string>

namespace krelwin::cli {

namespace {

constexpr int MaximumThumbnailSize = 4096;

// The picture fitted into size x size pixels, its proportions kept (at least one pixel each
// way). A reduction is smoothed, so that a thumbnail still shows the mix of a stage's tiles
// rather than every n-th pixel of it; an enlargement takes each pixel from one pixel of the
// picture, adding no colour and no blur.
QImage fitted(const QImage& picture, int size) {
    const QSize target =
        picture.size().scaled(size, size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (target.width() >= picture.width())
        return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int runThumbnail(const CommandLine& line, std::ostream&) {
    const int size = parseIntegerArgument(line.positional[2], "SIZE", 1);
    if (size > MaximumThumbnailSize)
        throw UsageError("SIZE must be " + std::to_string(MaximumThumbnailSize) + " or less, not " +
                         line.positional[2]);
    Etap etap;
    CzytajEtap(line.positional[0], 0, etap);
    writePicture(line.positional[1], fitted(render::pictureOfStage(etap), size));
    return ExitSuccess;
}

} // namespace krelwin::cli
