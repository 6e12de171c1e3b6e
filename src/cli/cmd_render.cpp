#include "commands.h"

#include "StagePicture.h"
#include "errors.h"
#include "file_copy.h"
#include "line_reader.h"
#include "stage_file.h"
#include "stage_record.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <limits>

namespace krelwin::cli {

namespace {

constexpr int MaximumScale = 8;

render::PictureOptions pictureOptions(const CommandLine& line) {
    render::PictureOptions options;
    options.grid = line.flag("--grid");
    if (const std::string* scale = line.option("--scale")) {
        options.scale = parseIntegerArgument(*scale, "--scale", 1);
        if (options.scale > MaximumScale)
            throw UsageError("--scale must be " + std::to_string(MaximumScale) + " or less, not " +
                             *scale);
    }
    return options;
}

// How many stages the file holds as the editor numbers them: its lines holding "}".
int stageCount(const std::string& path) {
    if (!std::filesystem::exists(path))
        throw MissingFileMessage(path);
    LineReader reader(path);
    return int(reader.skipLinesHolding(RecordMarker, std::numeric_limits<int>::max()));
}

QByteArray pngOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG"))
        throw PlainMessage("Nie można utworzyć obrazu: jest za duży.");
    return bytes;
}

// Written beside the target and renamed over it, so a failed write leaves no half picture.
void writePicture(const std::string& path, const QImage& picture) {
    const QByteArray png = pngOf(picture);
    try {
        writeWholeFile(path, std::string_view(png.constData(), std::size_t(png.size())));
    } catch (const InOutError& error) {
        throw PlainMessage("Nie można zapisać obrazu: " + shownText(path) + " (" + error.what() +
                           ")");
    }
}

QImage pictureOfStageAt(const std::string& path, int index, const render::PictureOptions& options) {
    Etap etap;
    CzytajEtap(path, index, etap);
    return render::pictureOfStage(etap, options);
}

// "000.png", "001.png", ...: three digits at least, so that names sort in stage order.
std::string pictureName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%03d.png", index);
    return name;
}

void renderAll(const std::string& path, const std::string& folder,
               const render::PictureOptions& options) {
    const int count = stageCount(path);
    if (!QDir().mkpath(QString::fromLocal8Bit(folder.c_str())))
        throw PlainMessage("Nie można utworzyć katalogu: " + folder);
    for (int index = 0; index < count; ++index)
        writePicture((std::filesystem::path(folder) / pictureName(index)).string(),
                     pictureOfStageAt(path, index, options));
}

} // namespace

int runRender(const CommandLine& line, std::ostream&) {
    const render::PictureOptions options = pictureOptions(line);
    const bool all = line.flag("--all");
    if (line.positional.size() != (all ? 2u : 3u))
        throw UsageError(all ? "--all takes FILE and OUTDIR" : "FILE INDEX OUT.png expected");
    const std::string& path = line.positional[0];
    if (all) {
        renderAll(path, line.positional[1], options);
    } else {
        const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
        writePicture(line.positional[2], pictureOfStageAt(path, index, options));
    }
    return ExitSuccess;
}

} // namespace krelwin::cli
