#include "commands.h"

#include "StagePicture.h"
#include "errors.h"
#include "file_system.h"
#include "picture_output.h"
#include "safe_write.h"
#include "stage_file.h"
#include "stage_sequence.h"

#include <QDir>
#include <QString>

#include <filesystem>

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

QImage pictureOfStageAt(const std::string& path, int index, const render::PictureOptions& options) {
    Etap etap;
    CzytajEtap(path, index, etap);
    return render::pictureOfStage(etap, options);
}

// One pass over the file: each stage is drawn and written as soon as its lines have been read.
void renderAll(const std::string& path, const std::string& folder,
               const render::PictureOptions& options) {
    requireStageFile(path);
    if (!QDir().mkpath(QString::fromLocal8Bit(folder.c_str())))
        throw PlainMessage("Nie można utworzyć katalogu: " + folder);
    const OneListingPerFolder listing; // a folder of thousands of pictures is listed once
    forEachStage(path, [&](int index, const Etap& etap) {
        writePicture((std::filesystem::path(folder) / pictureName(index)).string(),
                     render::pictureOfStage(etap, options));
    });
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
